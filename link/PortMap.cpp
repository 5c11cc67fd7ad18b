#include "link/PortMap.h"

#include "base/StoredSettings.h"

#include <QDir>
#include <QFileInfo>
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

} // namespace

int PortMap::comNumber(const QString &name) {
    if (!name.startsWith(QLatin1String("COM"), Qt::CaseInsensitive))
        return 0;
    bool number = false;
    const int n = name.mid(3).toInt(&number);
    return number && n >= FirstNo && n <= LastNo ? n : 0;
}

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
    const QString path = entry(n);
    return path.isEmpty() ? numbered().value(n) : path;
}

QHash<int, QString> PortMap::numbered() const {
    QList<SerialDevice> devices = m_enumerate ? m_enumerate() : QList<SerialDevice>{};
    std::stable_sort(devices.begin(), devices.end(),
                     [](const SerialDevice &a, const SerialDevice &b) {
                         if (a.adapter != b.adapter)
                             return a.adapter;
                         return naturalLess(a.path, b.path);
                     });

    const QSettings s = StoredSettings::store();
    QHash<int, QString> map;
    QStringList taken;
    QList<int> freeNos;
    for (int n = FirstNo; n <= LastNo; ++n) {
        const QString path = s.value(key(n)).toString();
        if (path.isEmpty()) {
            freeNos.append(n);
        } else {
            map.insert(n, path);
            taken.append(path);
        }
    }
    // A port the system numbers itself (Windows' COM3) keeps its number, or gets none.
    for (const SerialDevice &device : devices) {
        const int own = comNumber(device.path);
        if (own && freeNos.contains(own) && !taken.contains(device.path)) {
            freeNos.removeOne(own);
            map.insert(own, device.path);
            taken.append(device.path);
        }
    }
    for (const SerialDevice &device : devices) {
        if (comNumber(device.path))
            continue;
        if (freeNos.isEmpty())
            break;
        if (device.path.isEmpty() || taken.contains(device.path) ||
            (!device.stablePath.isEmpty() && taken.contains(device.stablePath)))
            continue;
        map.insert(freeNos.takeFirst(), device.mapPath());
        taken.append(device.mapPath());
    }
    return map;
}

void PortMap::keep(int n) {
    const QString path = devicePath(n);
    // The system's own numbers need no map.
    if (path.isEmpty() || !entry(n).isEmpty() || comNumber(path) == n)
        return;
    setEntry(n, path);
}

void PortMap::refresh() {
    const QHash<int, QString> map = numbered();
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        if (entry(it.key()).isEmpty() && comNumber(it.value()) != it.key())
            setEntry(it.key(), it.value());
    }
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
