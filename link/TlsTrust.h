#pragma once

#include <QList>
#include <QSslCertificate>
#include <QSslConfiguration>

// The CAs a user names for a network line's server (--ca, Options), made to count by the
// platform's own means: where the TLS library takes a list of CAs (OpenSSL) the socket gets them
// and checks the chain itself; on Windows the system's chain engine checks the server's chain
// against them alone after the socket's own check, which cannot know them (Schannel's backend
// would import them through a PKCS#12 bundle without a key, which not every system accepts).
namespace TlsTrust {

// Puts cas into conf where the socket checks them itself.
void giveToSocket(QSslConfiguration &conf, const QList<QSslCertificate> &cas);

// Whether chain (the server's certificate first, then what the server sent with it) leads to one
// of cas by valid signatures, checked here; false where the socket has checked cas itself, since
// it then reports no unknown issuer for a chain that leads to them. Names and dates are not
// looked at: the socket reports those.
bool chainsTo(const QList<QSslCertificate> &chain, const QList<QSslCertificate> &cas);

} // namespace TlsTrust
