// The CAs a user names, on POSIX systems: OpenSSL takes them and checks the chain itself.
#include "link/TlsTrust.h"

void TlsTrust::giveToSocket(QSslConfiguration &conf, const QList<QSslCertificate> &cas) {
    conf.addCaCertificates(cas);
}

bool TlsTrust::chainsTo(const QList<QSslCertificate> &, const QList<QSslCertificate> &) {
    return false;
}
