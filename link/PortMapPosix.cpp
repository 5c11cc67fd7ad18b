// The serial devices of a POSIX system, as Qt Serial Port lists them, with their stable names.
#include "link/PortMap.h"

#include <QFileInfo>
#include <QSerialPortInfo>

namespace {

bool isAdapterName(const QString &path) {
    return path.contains(QLatin1String("ttyUSB")) || path.contains(QLatin1String("ttyACM"));
}

} // namespace

QList<SerialDevice> PortMap::systemDevices() {
    const QHash<QString, QString> stable = stableNames(QStringLiteral("/dev/serial/by-id"));
    QList<SerialDevice> devices;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports) {
        const QString path = info.systemLocation();
        devices.append({path, info.hasVendorIdentifier() || isAdapterName(path),
                        stable.value(QFileInfo(path).canonicalFilePath())});
    }
    return devices;
}
