#include "link/PortMap.h"

#include "base/StoredSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <QSettings>
#include <algorithm>
#include <utility>

namespace {

QString key(int n) {
    return QStringLiteral("Ports/") + PortMap::comName(n);
}

// "ttyUSB10" after "ttyUSB2": the name without its trailing number first, then the number.
bool naturalLess(const QString &a, const QString &b) {
    auto split = [](const QString &path) {
        qsizetype digits = path.size();
        while (digits > 0 && path.at(digits - 1).isDigit())
            --digits;
        return std::make_pair(path.left(digits), path.mid(digits).toLongLong());
    };
    return split(a) < split(b);
}

bool isAdapterName(const QString &path) {
    return path.contains(QLatin1String("ttyUSB")) || path.contains(QLatin1String("ttyACM"));
}

} // namespace

PortMap::PortMap(Enumerator enumerate) : m_enumerate(std::move(enumerate)) {}

QString PortMap::entry(int n) {
    if (n < FirstNo || n > LastNo)
        return {};
    return StoredSettings::store().value(key(n)).toString();
}

void PortMap::setEntry(int n, const QString &path) {
    if (n < FirstNo || n > LastNo)
        return;
    QSettings s = StoredSettings::store();
    s.setValue(key(n), path);
    s.sync();
}

QString PortMap::devicePath(int n) {
    if (n < FirstNo || n > LastNo)
        return {};
    QString path = entry(n);
    if (path.isEmpty()) {
        refresh();
        path = entry(n);
    }
    return path;
}

void PortMap::refresh() {
    QList<SerialDevice> devices = m_enumerate ? m_enumerate() : QList<SerialDevice>{};
    std::stable_sort(devices.begin(), devices.end(),
                     [](const SerialDevice &a, const SerialDevice &b) {
                         if (a.adapter != b.adapter)
                             return a.adapter;
                         return naturalLess(a.path, b.path);
                     });

    QSettings s = StoredSettings::store();
    QStringList taken;
    QList<int> freeNos;
    for (int n = FirstNo; n <= LastNo; ++n) {
        const QString path = s.value(key(n)).toString();
        if (path.isEmpty())
            freeNos.append(n);
        else
            taken.append(path);
    }
    for (const SerialDevice &device : devices) {
        if (freeNos.isEmpty())
            break;
        if (device.path.isEmpty() || taken.contains(device.path) ||
            (!device.stablePath.isEmpty() && taken.contains(device.stablePath)))
            continue;
        s.setValue(key(freeNos.takeFirst()), device.mapPath());
        taken.append(device.mapPath());
    }
    s.sync();
}

QHash<QString, QString> PortMap::stableNames(const QString &folder) {
    QHash<QString, QString> names;
    const QFileInfoList links = QDir(folder).entryInfoList(QDir::System | QDir::Files, QDir::Name);
    for (const QFileInfo &link : links) {
        // A link that leads nowhere names no device: for one that leads round in a loop the
        // canonical path would be the link's own.
        const QString device = link.exists() ? link.canonicalFilePath() : QString();
        if (!device.isEmpty() && !names.contains(device))
            names.insert(device, link.absoluteFilePath());
    }
    return names;
}

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
