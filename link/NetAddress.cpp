#include "link/NetAddress.h"

#include <QHostAddress>

#include <algorithm>

namespace {

struct Scheme {
    QLatin1String prefix;
    NetAddress::Kind kind;
    bool tls;
};

const Scheme Schemes[] = {
    {QLatin1String("rfc2217://"), NetAddress::Kind::Rfc2217, false},
    {QLatin1String("tcp://"), NetAddress::Kind::Tcp, false},
    {QLatin1String("rfc2217+tls://"), NetAddress::Kind::Rfc2217, true},
    {QLatin1String("tcp+tls://"), NetAddress::Kind::Tcp, true},
};

const Scheme *schemeOf(const QString &text) {
    for (const Scheme &s : Schemes) {
        if (text.startsWith(s.prefix, Qt::CaseInsensitive))
            return &s;
    }
    return nullptr;
}

} // namespace

bool NetAddress::looksLikeUrl(const QString &text) {
    return schemeOf(text.trimmed()) != nullptr;
}

NetAddress NetAddress::parse(const QString &text) {
    const QString t = text.trimmed();
    NetAddress a;
    const Scheme *scheme = schemeOf(t);
    if (!scheme)
        return {};
    a.kind = scheme->kind;
    a.tls = scheme->tls;
    QString rest = t.mid(scheme->prefix.size());
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
    // A host name holds no blank or control character, a port nothing but digits: either would
    // be taken along by the name lookup or the number reading and reach the user garbled.
    const auto blankOrControl = [](QChar c) {
        return c.isSpace() || c.category() == QChar::Other_Control ||
               c.category() == QChar::Other_Format;
    };
    const auto digit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    if (host.isEmpty() || host.contains(u'/') ||
        std::any_of(host.begin(), host.end(), blankOrControl) || portText.isEmpty() ||
        !std::all_of(portText.begin(), portText.end(), digit))
        return {};
    bool ok = false;
    const uint port = portText.toUInt(&ok);
    if (!ok || port < 1 || port > 65535)
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
    for (const Scheme &s : Schemes) {
        if (kind != Kind::None && s.kind == kind && s.tls == tls)
            return s.prefix + hostPort();
    }
    return {};
}
