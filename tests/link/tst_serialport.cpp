// Opening, releasing and surveying the serial ports; the COM map.
#include "LinkFixture.h"
#include "link/PortSurvey.h"
#include "support/TestEnvironment.h"

#include <QSignalSpy>

class TestSerialPort : public QObject {
    Q_OBJECT
private slots:
    void init() { clearStoredSettings(); }

    void outOfRangePortNoReadsStoredNumber_data();
    void outOfRangePortNoReadsStoredNumber();
    void openPortWhenOpenChangesNothing();
    void surveyFindsOnlyMappedPorts_data();
    void surveyFindsOnlyMappedPorts();
    void storedNumberThatIsNoNumberOpensNothing();
    void closePortAlwaysSignals();
    void mapNumbersNewDevices_data();
    void mapNumbersNewDevices();
};

void TestSerialPort::outOfRangePortNoReadsStoredNumber_data() {
    QTest::addColumn<int>("portNo");
    QTest::newRow("0") << 0;
    QTest::newRow("33") << 33;
}

void TestSerialPort::outOfRangePortNoReadsStoredNumber() {
    QFETCH(int, portNo);
    LinkFixture f;
    PortMap::setEntry(1, QStringLiteral("/dev/no-such-port"));
    PortMap::setEntry(5, f.sim.devicePath());
    StoredSettings::writeText(QStringLiteral("PortNo"), QStringLiteral("5"));
    f.settings.PortNo = qint16(portNo);
    QVERIFY(f.link->OpenPort().isDone());
    QCOMPARE(f.settings.PortNo, qint16(5));
    QCOMPARE(f.link->openDevicePath(), f.sim.devicePath());
    QVERIFY(f.check().isDone());
}

void TestSerialPort::openPortWhenOpenChangesNothing() {
    LinkFixture f;
    ControllerSimulator other;
    PortMap::setEntry(2, other.devicePath());
    QVERIFY(f.link->OpenPort().isDone());
    f.settings.PortNo = 2;
    QVERIFY(f.link->OpenPort().isDone());
    QCOMPARE(f.link->openDevicePath(), f.sim.devicePath());
    QVERIFY(f.check().isDone());
    QCOMPARE(f.sim.receivedLines(), QStringList{QStringLiteral("0CM1")});
    QVERIFY(other.receivedLines().isEmpty());
}

void TestSerialPort::surveyFindsOnlyMappedPorts_data() {
    QTest::addColumn<bool>("openBefore");
    QTest::newRow("port closed") << false;
    QTest::newRow("port open") << true;
}

void TestSerialPort::surveyFindsOnlyMappedPorts() {
    QFETCH(bool, openBefore);
    LinkFixture f;
    ControllerSimulator third;
    PortMap::setEntry(3, third.devicePath());
    PortMap::setEntry(4, QStringLiteral("/dev/no-such-port"));
    if (openBefore)
        QVERIFY(f.link->OpenPort().isDone());
    QList<std::pair<int, PortCheck::State>> found;
    for (const PortEntry &e : surveyPorts(*f.link))
        found.append({e.portNo, e.check.state});
    const auto first = openBefore ? PortCheck::State::OpenHere : PortCheck::State::Openable;
    QCOMPARE(found,
             (QList<std::pair<int, PortCheck::State>>{
                 {1, first}, {3, PortCheck::State::Openable}, {4, PortCheck::State::Missing}}));
    // The port open here stays open; nothing was said to the controllers.
    QCOMPARE(f.link->isPortOpen(), openBefore);
    QCOMPARE(f.settings.PortNo, qint16(1));
    QVERIFY(f.sim.receivedLines().isEmpty());
    QVERIFY(third.receivedLines().isEmpty());
}

void TestSerialPort::storedNumberThatIsNoNumberOpensNothing() {
    LinkFixture f;
    StoredSettings::writeText(QStringLiteral("PortNo"), QStringLiteral("COM3"));
    f.settings.PortNo = 0;
    QVERIFY(!f.link->OpenPort().isDone());
    QVERIFY(!f.link->isPortOpen());
}

void TestSerialPort::closePortAlwaysSignals() {
    LinkFixture f(true);
    QSignalSpy changes(f.link.get(), &ControllerLink::portStateChanged);
    QVERIFY(f.link->OpenPort().isDone());
    f.link->ReleasePort();
    QVERIFY(f.link->isPortOpen());
    f.link->ClosePort();
    QVERIFY(!f.link->isPortOpen());
    f.link->ClosePort();
    QCOMPARE(changes.count(), 2);
    QCOMPARE(changes.at(0)[0].value<PortState>(), PortState::Open);
    QCOMPARE(changes.at(1)[0].value<PortState>(), PortState::Closed);
}

void TestSerialPort::mapNumbersNewDevices_data() {
    QTest::addColumn<QStringList>("stored"); // COM1, COM2, ... before ("" = free)
    QTest::addColumn<QStringList>("devices");
    QTest::addColumn<QStringList>("expected"); // COM1, COM2, ... after

    QTest::newRow("one USB adapter is COM1")
        << QStringList{}
        << QStringList{QStringLiteral("/dev/ttyS0"), QStringLiteral("/dev/ttyUSB0")}
        << QStringList{QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/ttyS0")};
    QTest::newRow("adapters first, in natural order")
        << QStringList{}
        << QStringList{QStringLiteral("/dev/ttyS1"), QStringLiteral("/dev/ttyUSB10"),
                       QStringLiteral("/dev/ttyACM0"), QStringLiteral("/dev/ttyUSB2")}
        << QStringList{QStringLiteral("/dev/ttyACM0"), QStringLiteral("/dev/ttyUSB2"),
                       QStringLiteral("/dev/ttyUSB10"), QStringLiteral("/dev/ttyS1")};
    QTest::newRow("known devices keep their numbers; new ones fill the gaps")
        << QStringList{QString(), QStringLiteral("/dev/ttyUSB0"), QString(),
                       QStringLiteral("/dev/ttyS9")}
        << QStringList{QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/ttyUSB1"),
                       QStringLiteral("/dev/ttyS0")}
        << QStringList{QStringLiteral("/dev/ttyUSB1"), QStringLiteral("/dev/ttyUSB0"),
                       QStringLiteral("/dev/ttyS0"), QStringLiteral("/dev/ttyS9")};
    QTest::newRow("the system's own COM numbers are kept, or none is given")
        << QStringList{QString(), QStringLiteral("tcp://10.0.0.2:4001")}
        << QStringList{QStringLiteral("/dev/ttyUSB0"), QStringLiteral("COM2"),
                       QStringLiteral("COM3"), QStringLiteral("COM1"), QStringLiteral("COM33")}
        << QStringList{QStringLiteral("COM1"), QStringLiteral("tcp://10.0.0.2:4001"),
                       QStringLiteral("COM3"), QStringLiteral("/dev/ttyUSB0"),
                       QStringLiteral("COM33")};
}

void TestSerialPort::mapNumbersNewDevices() {
    QFETCH(QStringList, stored);
    QFETCH(QStringList, devices);
    QFETCH(QStringList, expected);
    for (int i = 0; i < stored.size(); ++i) {
        if (!stored[i].isEmpty())
            PortMap::setEntry(i + 1, stored[i]);
    }
    PortMap map([&devices] {
        QList<SerialDevice> list;
        for (const QString &path : devices)
            list.append({path,
                         path.contains(QLatin1String("USB")) || path.contains(QLatin1String("ACM")),
                         QString()});
        return list;
    });
    // Every look sees the new devices under the same numbers and stores nothing.
    const QByteArray settingsBefore = readBytes(StoredSettings::filePath());
    for (int look = 0; look < 2; ++look) {
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(map.devicePath(i + 1), expected[i]);
        QCOMPARE(map.devicePath(int(expected.size()) + 1), QString());
    }
    QCOMPARE(readBytes(StoredSettings::filePath()), settingsBefore);
    // A pick stores the number it was seen by, unless the system numbers the port itself.
    for (int i = 0; i < expected.size(); ++i) {
        map.keep(i + 1);
        QCOMPARE(PortMap::entry(i + 1),
                 PortMap::comNumber(expected[i]) == i + 1 ? stored.value(i) : expected[i]);
    }
    QCOMPARE(map.devicePath(0), QString());
    QCOMPARE(map.devicePath(33), QString());
}

QV_TEST_CORE_MAIN(TestSerialPort)
#include "tst_serialport.moc"
