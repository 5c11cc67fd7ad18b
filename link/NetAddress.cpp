#include "link/NetAddress.h"

#include <QHostAddress>

namespace {

const QLatin1String Rfc2217Scheme("rfc2217://");
const QLatin1String TcpScheme("tcp://");

} // namespace

bool NetAddress::looksLikeUrl(const QString &text) {
    const QString t = text.trimmed();
    return t.startsWith(Rfc2217Scheme, Qt::CaseInsensitive) ||
           t.startsWith(TcpScheme, Qt::CaseInsensitive);
}

NetAddress NetAddress::parse(const QString &text) {
    const QString t = text.trimmed();
    NetAddress a;
    QString rest;
    if (t.startsWith(Rfc2217Scheme, Qt::CaseInsensitive)) {
        a.kind = Kind::Rfc2217;
        rest = t.mid(Rfc2217Scheme.size());
    } else if (t.startsWith(TcpScheme, Qt::CaseInsensitive)) {
        a.kind = Kind::Tcp;
        rest = t.mid(TcpScheme.size());
    } else {
        return {};
    }
    // A trailing slash is what a pasted URL often carries; anything else after the port is not
    // an address of ours.
    if (rest.endsWith(u'/'))
        rest.chop(1);
    const qsizetype colon = rest.lastIndexOf(u':');
    if (colon <= 0)
        return {};
    QString host = rest.left(colon);
    const QString portText = rest.mid(colon + 1);
    if (host.startsWith(u'[')) {
        if (!host.endsWith(u']'))
            return {};
        host = host.mid(1, host.size() - 2);
        if (QHostAddress(host).protocol() != QAbstractSocket::IPv6Protocol)
            return {};
    } else if (host.contains(u':') || host.contains(u'[') || host.contains(u']')) {
        // An IPv6 literal without brackets cannot be told from its port.
        return {};
    }
    bool ok = false;
    const uint port = portText.toUInt(&ok);
    if (host.isEmpty() || host.contains(u'/') || host.contains(u' ') || !ok || port < 1 ||
        port > 65535 || portText.startsWith(u'+'))
        return {};
    a.host = host;
    a.port = quint16(port);
    return a;
}

QString NetAddress::hostPort() const {
    const QString h = host.contains(u':') ? QLatin1Char('[') + host + QLatin1Char(']') : host;
    return h + QLatin1Char(':') + QString::number(port);
}

QString NetAddress::url() const {
    switch (kind) {
    case Kind::Rfc2217:
        return Rfc2217Scheme + hostPort();
    case Kind::Tcp:
        return TcpScheme + hostPort();
    case Kind::None:
        break;
    }
    return {};
}
