#include "cli/CliTarget.h"

#include "link/NetAddress.h"

#include <QFileInfo>

QString CliTarget::backupFile(const QString &pattern) const {
    QString filled = pattern;
    if (NetAddress::looksLikeUrl(device)) {
        // "rfc2217://[::1]:4001" names the file rfc2217_--1_4001: no folders, no colons.
        const NetAddress a = NetAddress::parse(device);
        QString host = a.host;
        host.replace(u':', u'-');
        return filled.replace(QLatin1String("{port}"), QStringLiteral("%1_%2_%3")
                                                           .arg(a.kind == NetAddress::Kind::Rfc2217
                                                                    ? QStringLiteral("rfc2217")
                                                                    : QStringLiteral("tcp"),
                                                                host)
                                                           .arg(a.port));
    }
    // A pseudo-terminal's bare number ("/dev/pts/1": "1") would read like COM1: "pts1".
    const QFileInfo node(device);
    const QString deviceName = node.path() == QLatin1String("/dev/pts")
                                   ? QStringLiteral("pts") + node.fileName()
                                   : node.fileName();
    return filled.replace(QLatin1String("{port}"), device.isEmpty() ? name() : deviceName);
}
