// Feeds arbitrary settings files: the input is the settings file, once as the file an earlier
// version kept (taken over as it is) and once as the file itself; both must give the same
// language, port, port occupation and port map, and the earlier file must be taken over byte
// for byte. A value that is no number must leave its variable as it was. Storing the port and
// its occupation must read back the same and leave the language and the port map as they were.
// Numbering the system's devices must keep every entry there was, give only free numbers, the
// lowest first, to devices not mapped yet, and change nothing when done again.

#include "base/StoredSettings.h"
#include "base/VbNumber.h"
#include "fuzz/FuzzSupport.h"
#include "link/PortMap.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <algorithm>
#include <array>

namespace {

using Entries = std::array<QString, PortMap::LastNo + 1>;

struct Snapshot {
    StoredSettings settings;
    Entries entries;
};

// The variables before a read: values no settings file holds.
StoredSettings unread() {
    StoredSettings s;
    s.LanguageNo = -12345;
    s.PortNo = -12345;
    s.OccupyPort = true;
    return s;
}

Entries entries() {
    Entries e;
    for (int n = PortMap::FirstNo; n <= PortMap::LastNo; ++n)
        e[size_t(n)] = PortMap::entry(n);
    return e;
}

// A stored value as a number, or the variable's value before the read when it is none.
qint16 numberOr(const char *key, qint16 unchanged) {
    const auto v =
        VbNumber::toInt16(StoredSettings::readText(QLatin1String(key), QStringLiteral("1")));
    return v ? *v : unchanged;
}

Snapshot read() {
    Snapshot s{unread(), {}};
    s.settings.ReadLanguage();
    s.settings.ReadPortNo();
    s.settings.ReadPortOccupy();
    fuzz::require(s.settings.LanguageNo == numberOr("Language", unread().LanguageNo) &&
                  s.settings.PortNo == numberOr("PortNo", unread().PortNo) &&
                  s.settings.OccupyPort == (numberOr("PortOccupy", 1) != 0));
    fuzz::require(s.settings.LangOffset == (s.settings.LanguageNo == 1 ? 0 : 10000));
    s.entries = entries();
    return s;
}

bool operator==(const Snapshot &a, const Snapshot &b) {
    return a.settings.LanguageNo == b.settings.LanguageNo &&
           a.settings.LangOffset == b.settings.LangOffset &&
           a.settings.PortNo == b.settings.PortNo &&
           a.settings.OccupyPort == b.settings.OccupyPort && a.entries == b.entries;
}

QByteArray contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

const QList<SerialDevice> Devices = {
    {QStringLiteral("/dev/ttyS0"), false, {}},
    {QStringLiteral("/dev/ttyUSB10"), true, {}},
    {QStringLiteral("/dev/ttyUSB2"), true, QStringLiteral("/dev/serial/by-id/usb-Maker_0001")},
    {QStringLiteral("/dev/ttyACM0"), true, {}},
};

qsizetype count(const Entries &e, const QString &path) {
    return std::count(e.begin() + 1, e.end(), path);
}

bool unmapped(const SerialDevice &d, const Entries &e) {
    return count(e, d.path) == 0 && (d.stablePath.isEmpty() || count(e, d.stablePath) == 0);
}

void checkNumbering(const Entries &before) {
    PortMap map([] { return Devices; });
    map.refresh();
    const Entries after = entries();
    const qsizetype waiting = std::count_if(
        Devices.begin(), Devices.end(), [&](const SerialDevice &d) { return unmapped(d, before); });
    qsizetype given = 0;
    bool lowestFirst = true;
    for (int n = PortMap::FirstNo; n <= PortMap::LastNo; ++n) {
        const QString &was = before[size_t(n)];
        const QString &now = after[size_t(n)];
        if (!was.isEmpty()) {
            fuzz::require(now == was);
        } else if (!now.isEmpty()) {
            const bool device =
                std::any_of(Devices.begin(), Devices.end(), [&](const SerialDevice &d) {
                    return d.mapPath() == now && unmapped(d, before);
                });
            fuzz::require(lowestFirst && device && count(after, now) == 1);
            ++given;
        } else {
            lowestFirst = false;
        }
    }
    fuzz::require(given == std::min(count(before, QString()), waiting));
    map.refresh();
    fuzz::require(entries() == after);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const QString folder =
        fuzz::settingsFolder() + u'/' + QLatin1String(StoredSettings::AppName);
    static const QString conf = StoredSettings::filePath();
    static const QString earlier =
        folder + u'/' + QLatin1String(StoredSettings::AppName) + QStringLiteral(".ini");
    fuzz::require(QDir().mkpath(folder) && conf.startsWith(folder));
    const QByteArray input = fuzz::bytes(data, size);
    // However the run ends, the settings layer is left knowing the file by a time of this run's
    // own, which the next run's file, taken over or placed, does not have.
    const auto settle = qScopeGuard([] {
        fuzz::place(conf, contents(conf));
        StoredSettings::readText(QStringLiteral("PortNo"), {});
    });

    QFile::remove(conf);
    fuzz::place(earlier, input);
    const Snapshot takenOver = read();
    fuzz::require(contents(conf) == input);

    QFile::remove(earlier);
    QFile::remove(conf);
    fuzz::place(conf, input);
    const Snapshot direct = read();
    fuzz::require(takenOver == direct);
    // Qt's INI reader looks a key up in the one section whose name sorts last before the key's,
    // so that a section such as "[Ports/]" hides "[Ports]" until every section has been read.
    // Such a file reads differently once read whole; what follows would only find that again.
    StoredSettings::store().allKeys();
    if (!(read() == direct))
        return 0;

    direct.settings.SavePortNo();
    direct.settings.SavePortOccupy();
    fuzz::require(read() == direct);
    checkNumbering(direct.entries);
    return 0;
}
