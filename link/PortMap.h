#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <functional>
#include <utility>

// One serial device found on the system.
struct SerialDevice {
    QString path;         // "/dev/ttyUSB0"
    bool adapter = false; // a USB or ACM adapter (these get the low numbers first)
    // The name that stays with the adapter whatever socket or order it is plugged in
    // ("/dev/serial/by-id/usb-..."); empty when the system gives it none.
    QString stablePath;

    // What the map stores for the device: its stable name when it has one.
    const QString &mapPath() const { return stablePath.isEmpty() ? path : stablePath; }
};

// The port numbers COM1 to COM32 that the user sees, mapped to device paths. The map lives in the
// settings store (group "Ports", key "COMn", value the device path). A device found on the system
// that has no number yet is seen under the lowest free one, adapters first, under its stable name
// when it has one; that number is derived again at each look (the same while the devices and the
// map stay) and stored only when the user picks the port or maps it. An entry under the device's
// plain name stays as it is. A port the system numbers itself (Windows' COM3) is never stored.
class PortMap {
public:
    static constexpr int FirstNo = 1;
    static constexpr int LastNo = 32;

    using Enumerator = std::function<QList<SerialDevice>()>;

    // The system's serial devices by default; tests give a list of their own.
    explicit PortMap(Enumerator enumerate = systemDevices);
    void setEnumerator(Enumerator enumerate) { m_enumerate = std::move(enumerate); }

    // Device path of COMn: the stored entry, else the device numbered n now. Empty when n is out
    // of range or nothing maps to it. Stores nothing.
    QString devicePath(int n);
    // Every number that leads to a device: the stored entries and the devices numbered now.
    QHash<int, QString> numbered() const;

    // Stores COMn's device when it has no entry yet (the user picked it).
    void keep(int n);
    // Stores the number of every device that has none yet.
    void refresh();

    // The name the user knows port n by: "COM3".
    static QString comName(int n) { return QStringLiteral("COM%1").arg(n); }
    // n of such a name ("COM3", "com3": 3), for n from 1 to 32; 0 for any other name.
    static int comNumber(const QString &name);
    // One port on one line: "COM3  /dev/ttyUSB0  —  state".
    static QString statusLine(int n, const QString &path, const QString &state) {
        return QStringLiteral("%1  %2  —  %3").arg(comName(n), path, state);
    }

    // Stores COMn = path (the user's own choice, a simulator's pty).
    static void setEntry(int n, const QString &path);
    static QString entry(int n);

    static QList<SerialDevice> systemDevices();
    // The stable names in a folder of symbolic links (/dev/serial/by-id), by the device each
    // link leads to.
    static QHash<QString, QString> stableNames(const QString &folder);

private:
    Enumerator m_enumerate;
};
