// The options dialog's port choice without the dialog: what OK stores for each kind of port,
// that looking at the ports stores nothing, and which port names are refused.
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

QString storedPortNo() {
    return StoredSettings::readText(QStringLiteral("PortNo"), QStringLiteral("absent"));
}

// A PC whose stored port is COM4, a pty that is open; the system's serial devices are those
// given.
struct PortPc : SessionFixture {
    Pty com4;
    explicit PortPc(const QStringList &devices = {}) {
        link.portMap().setEnumerator([devices] {
            QList<SerialDevice> found;
            for (const QString &path : devices)
                found.append({path, true, QString()});
            return found;
        });
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
        QTest::addColumn<QStringList>("entries"); // stored before, beside COM4
        QTest::addColumn<QStringList>("devices"); // the system's serial devices
        QTest::addColumn<QList<int>>("openable"); // numbers found openable, beside 4
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("portNo");
        QTest::addColumn<QString>("storedNo");
        QTest::addColumn<QStringList>("newEntries"); // stored by OK
        QTest::addColumn<bool>("portOpen");
        const QString usb = QStringLiteral("/dev/ttyUSB7");
        const QString url = QStringLiteral("rfc2217://127.0.0.1:4001");
        QTest::newRow("numbered device")
            << QStringList{"COM1=/dev/ttyS0"} << QStringList{} << QList<int>{1} << "COM1" << true
            << 1 << "1" << QStringList{} << false;
        QTest::newRow("unnumbered device: its number stored with it")
            << QStringList{} << QStringList{usb} << QList<int>{1} << "COM1" << true << 1 << "1"
            << QStringList{"COM1=" + usb} << false;
        QTest::newRow("network line")
            << QStringList{"COM9=" + url} << QStringList{} << QList<int>{9} << " COM9 " << true
            << 9 << "9" << QStringList{} << false;
        // The system numbers the port itself: no map entry is needed.
        QTest::newRow("Windows COM3") << QStringList{} << QStringList{"COM3"} << QList<int>{3}
                                      << "COM3" << true << 3 << "3" << QStringList{} << false;
        QTest::newRow("the current port") << QStringList{} << QStringList{} << QList<int>{}
                                          << "COM4" << true << 4 << "4" << QStringList{} << true;
        QTest::newRow("not found: this run only")
            << QStringList{} << QStringList{usb} << QList<int>{} << "XYZ 7" << true << 7 << "4"
            << QStringList{} << true;
        QTest::newRow("no number") << QStringList{} << QStringList{usb} << QList<int>{1} << "COM"
                                   << false << 4 << "4" << QStringList{} << true;
        QTest::newRow("COM33") << QStringList{} << QStringList{} << QList<int>{} << "COM33"
                               << false << 4 << "4" << QStringList{} << true;
    }
    void whatOkStores() {
        QFETCH(QStringList, entries);
        QFETCH(QStringList, devices);
        QFETCH(QList<int>, openable);
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        QFETCH(int, portNo);
        QFETCH(QString, storedNo);
        QFETCH(QStringList, newEntries);
        QFETCH(bool, portOpen);
        PortPc pc(devices);
        for (const QString &entry : entries)
            PortMap::setEntry(PortMap::comNumber(entry.section(u'=', 0, 0)),
                              entry.section(u'=', 1));
        const QStringList before = storedMap();
        static_cast<void>(pc.link.OpenPort());
        QVERIFY(pc.link.isPortOpen());
        QList<PortEntry> found;
        for (int n : openable + QList<int>{4}) {
            PortCheck check;
            check.mapPath = pc.link.portMap().devicePath(n);
            check.state = PortCheck::State::Openable;
            found.append({n, check});
        }

        PortChoice choice(pc.settings, pc.link, found);
        QVERIFY(choice.offered().contains(QStringLiteral("COM4")));
        QCOMPARE(choice.current(), QStringLiteral("COM4"));
        QCOMPARE(choice.accept(typed), accepted);
        QCOMPARE(int(pc.settings.PortNo), portNo);
        QCOMPARE(storedPortNo(), storedNo);
        QStringList after = before + newEntries, stored = storedMap();
        after.sort();
        stored.sort();
        QCOMPARE(stored, after);
        QCOMPARE(pc.link.isPortOpen(), portOpen);
    }

    // Opening the dialog looks at every port and reads the stored number; until OK nothing is
    // stored, a new device's derived number neither, whatever the user looks at meanwhile.
    void lookingStoresNothing_data() {
        QTest::addColumn<bool>("simulated");
        QTest::addColumn<int>("looked"); // the number whose device the user looks at
        QTest::newRow("new adapter") << false << 1;
        QTest::newRow("simulated controller for every number") << true << 4;
    }
    void lookingStoresNothing() {
        QFETCH(bool, simulated);
        QFETCH(int, looked);
        Pty adapter, controller;
        PortPc pc({adapter.slavePath()});
        if (simulated)
            pc.link.setDeviceOverride(controller.slavePath());
        static_cast<void>(pc.link.OpenPort());
        pc.settings.PortNo = 2; // chosen for this run only, not stored
        const QByteArray before = readBytes(StoredSettings::filePath());

        PortChoice choice(pc.settings, pc.link);
        QVERIFY(!pc.link.isPortOpen());
        QCOMPARE(pc.settings.PortNo, qint16(4));
        QVERIFY2(choice.offered().contains(QStringLiteral("COM1")),
                 qPrintable(choice.offered().join(u' ')));
        QVERIFY(choice.offered().contains(QStringLiteral("COM4")));
        QVERIFY(choice.deviceText(looked).contains(
            simulated ? controller.slavePath() : adapter.slavePath()));
        QVERIFY(!choice.mapRows().isEmpty());
        QCOMPARE(readBytes(StoredSettings::filePath()), before);
        QCOMPARE(PortMap::entry(1), QString());
    }

    // The names a port map entry and qvpc-cli's --device refuse alike.
    void portNameFaults_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<PortNameFault>("fault");
        QTest::newRow("device") << "/dev/ttyUSB0" << PortNameFault::None;
        QTest::newRow("Windows port") << "COM3" << PortNameFault::None;
        QTest::newRow("network line") << "tcp://[::1]:4001" << PortNameFault::None;
        QTest::newRow("address without a port") << "rfc2217://127.0.0.1" << PortNameFault::BadAddress;
        QTest::newRow("line break") << "/dev/ttyUSB0\n" << PortNameFault::ControlCharacter;
        QTest::newRow("invisible character in an address")
            << QStringLiteral("tcp://host\u200B:4001") << PortNameFault::ControlCharacter;
    }
    void portNameFaults() {
        QFETCH(QString, name);
        QFETCH(PortNameFault, fault);
        QCOMPARE(portNameFault(name), fault);
    }
};

QV_TEST_CORE_MAIN(TestPortChoice)
#include "tst_portchoice.moc"
