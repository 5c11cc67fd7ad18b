#include "link/PortIdentity.h"

#include "link/NetAddress.h"

#include <QHostAddress>
#include <QHostInfo>

QString PortIdentity::of(const QString &name) {
    if (!NetAddress::looksLikeUrl(name))
        return ofDevice(name);
    const NetAddress a = NetAddress::parse(name);
    if (!a.isValid())
        return name;
    // "localhost" and 127.0.0.1 are one server; a name that does not resolve is compared as
    // written, without its case.
    QString host = a.host.toLower();
    if (QHostAddress(host).isNull()) {
        const QHostInfo info = QHostInfo::fromName(host);
        if (!info.addresses().isEmpty())
            host = info.addresses().first().toString();
    } else {
        host = QHostAddress(host).toString();
    }
    // The scheme is left out: RFC 2217 and raw TCP to one server port reach one controller.
    return QStringLiteral("network %1 port %2").arg(host).arg(a.port);
}
