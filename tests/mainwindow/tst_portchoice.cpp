// The options dialog's port choice without the dialog: what OK stores for each kind of port, and
// that looking at the ports stores nothing.
#include "session/PortChoice.h"
#include "support/Pty.h"
#include "support/SessionFixture.h"
#include "support/TestEnvironment.h"

#include <QObject>

namespace {

// The port map as stored: "COMn=path" for each entry.
QStringList storedMap() {
    QStringList entries;
    for (int n = PortMap::FirstNo; n <= PortMap::LastNo; ++n)
        if (!PortMap::entry(n).isEmpty())
            entries << PortMap::comName(n) + u'=' + PortMap::entry(n);
    return entries;
}

// A PC whose stored port is COM4, a pty. Each of ports is a stored map entry ("COM1=/dev/ttyS0")
// or a serial device of the system.
struct PortPc : SessionFixture {
    Pty com4;
    explicit PortPc(const QStringList &ports = {}) {
        QList<SerialDevice> devices;
        for (const QString &port : ports) {
            if (port.contains(u'='))
                PortMap::setEntry(PortMap::comNumber(port.section(u'=', 0, 0)),
                                  port.section(u'=', 1));
            else
                devices.append({port, true, QString()});
        }
        link.portMap().setEnumerator([devices] { return devices; });
        PortMap::setEntry(4, com4.slavePath());
        StoredSettings::writeText(QStringLiteral("PortNo"), QStringLiteral("4"));
        settings.ReadPortNo();
    }
};

} // namespace

class TestPortChoice : public QObject {
    Q_OBJECT
private slots:
    void init() { clearStoredSettings(); }

    // OK with each kind of choice: the number stored only when it is new and could be opened,
    // a device's derived number stored with it, the port closed only for a newly stored number.
    void whatOkStores_data() {
        QTest::addColumn<QStringList>("ports");   // beside COM4
        QTest::addColumn<QList<int>>("openable"); // numbers found openable, beside 4
        QTest::addColumn<QString>("typed");
        // Whether OK took the text, the port number then and as stored, the map entries it
        // added, and the port.
        QTest::addColumn<QString>("outcome");
        const QString usb = QStringLiteral("/dev/ttyUSB7");
        QTest::newRow("numbered device")
            << QStringList{"COM1=/dev/ttyS0"} << QList<int>{1} << "COM1"
            << "taken 1, stored 1, closed";
        QTest::newRow("unnumbered device: its number stored with it")
            << QStringList{usb} << QList<int>{1} << "COM1"
            << "taken 1, stored 1, COM1=/dev/ttyUSB7, closed";
        QTest::newRow("network line")
            << QStringList{"COM9=rfc2217://127.0.0.1:4001"} << QList<int>{9} << " COM9 "
            << "taken 9, stored 9, closed";
        // The system numbers the port itself: no map entry is needed.
        QTest::newRow("Windows COM3") << QStringList{"COM3"} << QList<int>{3} << "COM3"
                                      << "taken 3, stored 3, closed";
        QTest::newRow("the current port") << QStringList{} << QList<int>{} << "COM4"
                                          << "taken 4, stored 4, open";
        QTest::newRow("not found: this run only") << QStringList{usb} << QList<int>{} << "XYZ 7"
                                                  << "taken 7, stored 4, open";
        QTest::newRow("no number") << QStringList{usb} << QList<int>{1} << "COM"
                                   << "refused 4, stored 4, open";
    }
    void whatOkStores() {
        QFETCH(QStringList, ports);
        QFETCH(QList<int>, openable);
        QFETCH(QString, typed);
        QFETCH(QString, outcome);
        PortPc pc(ports);
        const QStringList before = storedMap();
        static_cast<void>(pc.link.OpenPort());
        QList<PortEntry> found;
        for (int n : openable + QList<int>{4}) {
            PortCheck check;
            check.mapPath = pc.link.portMap().devicePath(n);
            check.state = PortCheck::State::Openable;
            found.append({n, check});
        }

        PortChoice choice(pc.settings, pc.link, found);
        QCOMPARE(choice.current(), QStringLiteral("COM4"));
        QStringList after{choice.accept(typed) ? "taken" : "refused"};
        after.last() += u' ' + QString::number(pc.settings.PortNo);
        after << "stored " + StoredSettings::readText(QStringLiteral("PortNo"), QString());
        for (const QString &entry : storedMap())
            if (!before.contains(entry))
                after << entry;
        after << (pc.link.isPortOpen() ? "open" : "closed");
        QCOMPARE(after.join(QStringLiteral(", ")), outcome);
    }

    // Opening the dialog looks at every port and reads the stored number again; until OK nothing
    // is stored, a new device's derived number neither, whatever the user looks at meanwhile.
    void lookingStoresNothing() {
        Pty adapter;
        PortPc pc({adapter.slavePath()});
        static_cast<void>(pc.link.OpenPort());
        pc.settings.PortNo = 2; // chosen for this run only, not stored
        const QByteArray before = readBytes(StoredSettings::filePath());

        PortChoice choice(pc.settings, pc.link);
        QVERIFY(!pc.link.isPortOpen());
        QCOMPARE(choice.current(), QStringLiteral("COM4")); // the stored number, not this run's
        QCOMPARE(choice.offered(), (QStringList{"COM1", "COM4"}));
        QVERIFY(choice.deviceText(1).contains(adapter.slavePath()));
        QCOMPARE(choice.mapRows().size(), 2);
        QCOMPARE(readBytes(StoredSettings::filePath()), before);
    }
};

QV_TEST_CORE_MAIN(TestPortChoice)
#include "tst_portchoice.moc"
