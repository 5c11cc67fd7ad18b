// The simulated controller: its answers, its blocks, its moves and I/O, and its faults on a pty.
#include "sim/ControllerSimulator.h"
#include "support/TestEnvironment.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QSerialPort>
#include <QSet>
#include <QSignalSpy>
#include <QTimer>

namespace {

QString answer(ControllerModel &model, const QString &line) {
    return QString::fromLatin1(model.process(line).reply);
}

// A bare serial client on the simulator's pty.
struct Client {
    QSerialPort port;
    explicit Client(const ControllerSimulator &sim) {
        port.setPortName(sim.devicePath());
        port.open(QIODevice::ReadWrite);
    }
    // Sends a line and collects input until it ends in CR LF or the time is up. The simulator
    // lives in this thread, so the wait runs the event loop.
    QByteArray ask(const QByteArray &line, int *reads = nullptr, int ms = 2000) {
        port.write(line + "\r\n");
        QByteArray got;
        int count = 0;
        QEventLoop loop;
        QObject::connect(&port, &QSerialPort::readyRead, &loop, &QEventLoop::quit);
        // The loop wakes now and then to look at the clock: a single timer may fire a little
        // early, and a line the simulator dropped may never be readable again.
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, &loop, &QEventLoop::quit);
        tick.start(10);
        QElapsedTimer clock;
        clock.start();
        while (!got.endsWith("\r\n") && clock.elapsed() < ms) {
            if (port.bytesAvailable() > 0) {
                got += port.readAll();
                ++count;
                continue;
            }
            loop.exec();
        }
        if (reads)
            *reads = count;
        return got;
    }
};

} // namespace

class TestSimulator : public QObject {
    Q_OBJECT
private slots:
    void answers_data();
    void answers();
    void writtenBlocksTakeEffectAtRestart();
    void movesTakeLongerFurther();
    void moveTimesJitterBySeed();
    void outputsFollowWriteAndInputsChange();
    void faultSpoilsAnswer_data();
    void faultSpoilsAnswer();
    void faultCountAndMatch();
    void servesLinesOnPty();
    void piecesArriveApart();
    void pacedAt9600Baud();
    void dropsLine();
};

void TestSimulator::answers_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("reply"); // without CR LF; empty: no answer

    QTest::newRow("check") << "0CM1"
                           << "0CM1";
    QTest::newRow("external start") << "0CM0"
                                    << "0CM0";
    QTest::newRow("restart") << "0CM3"
                             << "";
    QTest::newRow("block 00") << "0RD00"
                              << "0RD0008012C060002FF00";
    QTest::newRow("block 01") << "0RD01"
                              << "0RD010864C8640F1400FF";
    QTest::newRow("block 02") << "0RD02"
                              << "0RD0228030200019005FF";
    QTest::newRow("block 04") << "0RD04"
                              << "0RD042803020000C805FF";
    QTest::newRow("block 05") << "0RD05"
                              << "0RD0528030205FFFFFFFF";
    QTest::newRow("write echoed") << "0WD0230030200019005FF"
                                  << "0WD0230030200019005FF";
    QTest::newRow("write 1F") << "0WD1FFFFFFFFFFFFF55AA"
                              << "0WD1FFFFFFFFFFFFF55AA";
    QTest::newRow("home") << "0MP0"
                          << "0MP0000000";
    QTest::newRow("position 1") << "0MP1"
                                << "0MP1000190";
    QTest::newRow("position 2") << "0MP2"
                                << "0MP20000C8";
    QTest::newRow("reset") << "0%C"
                           << "0%C00";
    QTest::newRow("version") << "0RV"
                             << "0RV140000";
    QTest::newRow("outputs") << "0WSA0"
                             << "0WSA0";
    QTest::newRow("unknown command") << "0XY"
                                     << "0%%01";
    QTest::newRow("block number too long") << "0RD002"
                                           << "0%%03";
    QTest::newRow("no such block") << "0RD07"
                                   << "0%%02";
    QTest::newRow("write too short") << "0WD0230"
                                     << "0%%03";
    QTest::newRow("write not hexadecimal") << "0WD02300302000190G5FF"
                                           << "0%%02";
    QTest::newRow("no position 3") << "0MP3"
                                   << "0%%02";
    QTest::newRow("outputs one character") << "0WS5"
                                           << "0%%03";
}

void TestSimulator::answers() {
    QFETCH(QString, line);
    QFETCH(QString, reply);
    ControllerModel model;
    QCOMPARE(answer(model, line), reply.isEmpty() ? QString() : reply + QStringLiteral("\r\n"));
}

void TestSimulator::writtenBlocksTakeEffectAtRestart() {
    ControllerModel model;
    QCOMPARE(answer(model, QStringLiteral("0WD0230030200019005FF")),
             QStringLiteral("0WD0230030200019005FF\r\n"));
    QCOMPARE(answer(model, QStringLiteral("0RD02")), QStringLiteral("0RD0228030200019005FF\r\n"));
    QCOMPARE(answer(model, QStringLiteral("0CM3")), QString());
    QCOMPARE(model.restarts(), 1);
    QCOMPARE(answer(model, QStringLiteral("0RD02")), QStringLiteral("0RD0230030200019005FF\r\n"));
    // Position 1 now lies at 400 pulses with the new velocity.
    QCOMPARE(answer(model, QStringLiteral("0MP1")), QStringLiteral("0MP1000190\r\n"));
}

void TestSimulator::movesTakeLongerFurther() {
    ControllerModel model;
    const int toFar = model.process(QStringLiteral("0MP1")).delayMs;  // 0 -> 400
    const int toNear = model.process(QStringLiteral("0MP2")).delayMs; // 400 -> 200
    const int stay = model.process(QStringLiteral("0MP2")).delayMs;   // 200 -> 200
    QVERIFY2(toFar > toNear && toNear > stay && stay > 0,
             qPrintable(QStringLiteral("%1 %2 %3").arg(toFar).arg(toNear).arg(stay)));
    QVERIFY(toFar < 5000);
    QVERIFY(ControllerModel::moveDuration(16777215, 4) < 5000);
    model.setMoveTimeScale(0.1);
    QVERIFY(model.process(QStringLiteral("0MP0")).delayMs < toNear);
    QCOMPARE(model.position(), 0);
}

// With jitter each move's time strays from the plain one by no more than the share, not always
// the same way; the same seed gives the same times again. A set move time ignores the distance.
void TestSimulator::moveTimesJitterBySeed() {
    const auto times = [](double share, quint32 seed, int moveMs) {
        ControllerModel model;
        model.setMoveTime(moveMs);
        model.setMoveJitter(share, seed);
        QList<int> ms;
        for (int i = 0; i < 20; ++i)
            ms.append(model.process(QLatin1String(i % 2 ? "0MP1" : "0MP2")).delayMs);
        return ms;
    };
    const QList<int> plain = times(0, 1, 0), jittered = times(0.1, 7, 0);
    QCOMPARE(times(0.1, 7, 0), jittered);
    QVERIFY(times(0.1, 8, 0) != jittered);
    QSet<int> ways;
    for (int i = 0; i < plain.size(); ++i) {
        QVERIFY(qAbs(jittered[i] - plain[i]) <= plain[i] / 10 + 1);
        ways.insert(jittered[i] > plain[i] ? 1 : -1);
    }
    QCOMPARE(ways.size(), 2);
    QCOMPARE(times(0, 1, 250), QList<int>(20, 250));
}

void TestSimulator::outputsFollowWriteAndInputsChange() {
    ControllerModel model;
    qint64 now = 0;
    model.setClock([&now] { return now; });
    auto ports = [&model] { return answer(model, QStringLiteral("0RD20")).mid(15, 6); };
    const QString off = ports();
    QCOMPARE(answer(model, QStringLiteral("0WSF0")), QStringLiteral("0WSF0\r\n"));
    const QString on = ports();
    // All four outputs: port A bits 3 and 5, port B bits 6 and 7.
    QCOMPARE(on.left(2).toInt(nullptr, 16) & 0x28, 0x28);
    QCOMPARE(on.mid(2, 2).toInt(nullptr, 16) & 0xC0, 0xC0);
    QCOMPARE(off.left(2).toInt(nullptr, 16) & 0x28, 0);
    QCOMPARE(off.mid(2, 2).toInt(nullptr, 16) & 0xC0, 0);
    answer(model, QStringLiteral("0WS20"));
    QCOMPARE(ports().left(2).toInt(nullptr, 16) & 0x28, 0x20);
    // The inputs of a running feeder change over time.
    QSet<QString> seen;
    for (now = 0; now < 3000; now += 100)
        seen.insert(ports());
    QVERIFY(seen.size() >= 3);
    QCOMPARE(answer(model, QStringLiteral("0RD20")).size(), 23);
    // Held port bytes stay while time passes; "0WS" still switches the outputs among them.
    model.holdPorts({0x08, 0x40, 0x06});
    QCOMPARE(ports(), QStringLiteral("084006"));
    now += 700;
    QCOMPARE(ports(), QStringLiteral("084006"));
    answer(model, QStringLiteral("0WSA0"));
    QCOMPARE(ports(), QStringLiteral("208006"));
}

void TestSimulator::faultSpoilsAnswer_data() {
    QTest::addColumn<QString>("errorCode");
    QTest::addColumn<int>("lengthDelta");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QByteArray>("trailing");
    QTest::addColumn<int>("overwriteAt");
    QTest::addColumn<QByteArray>("overwrite");
    QTest::addColumn<QByteArray>("result");

    const QByteArray none;
    QTest::newRow("none") << QString() << 0 << QString() << none << -1 << none
                          << QByteArray("0CM1\r\n");
    QTest::newRow("error") << "0B" << 0 << QString() << none << -1 << none
                           << QByteArray("0%%0B\r\n");
    QTest::newRow("longer") << QString() << 2 << QString() << none << -1 << none
                            << QByteArray("0CM100\r\n");
    QTest::newRow("shorter") << QString() << -1 << QString() << none << -1 << none
                             << QByteArray("0CM\r\n");
    QTest::newRow("prefix") << QString() << 0 << "1XY" << none << -1 << none
                            << QByteArray("1XY1\r\n");
    QTest::newRow("trailing") << QString() << 0 << QString() << QByteArray("Z") << -1 << none
                              << QByteArray("0CM1\r\nZ");
    QTest::newRow("overwritten") << QString() << 0 << QString() << none << 3 << QByteArray("9", 1)
                                 << QByteArray("0CM9\r\n");
    QTest::newRow("NUL overwritten")
        << QString() << 0 << QString() << none << 1 << QByteArray("\0\0", 2)
        << QByteArray::fromHex("300000310d0a"); // "0", two NULs, "1", CR LF
}

void TestSimulator::faultSpoilsAnswer() {
    QFETCH(QString, errorCode);
    QFETCH(int, lengthDelta);
    QFETCH(QString, prefix);
    QFETCH(QByteArray, trailing);
    QFETCH(int, overwriteAt);
    QFETCH(QByteArray, overwrite);
    QFETCH(QByteArray, result);
    SimFault f;
    f.errorCode = errorCode;
    f.lengthDelta = lengthDelta;
    f.prefix = prefix;
    f.trailing = trailing;
    f.overwriteAt = overwriteAt;
    f.overwrite = overwrite;
    QCOMPARE(f.apply("0CM1\r\n"), result);
}

void TestSimulator::faultCountAndMatch() {
    ControllerSimulator sim;
    SimFault once;
    once.match = QStringLiteral("0RD");
    once.errorCode = QStringLiteral("04");
    once.times = 1;
    sim.addFault(once);
    Client client(sim);
    QCOMPARE(client.ask("0CM1"), QByteArray("0CM1\r\n"));
    QCOMPARE(client.ask("0RD00"), QByteArray("0%%04\r\n"));
    QCOMPARE(client.ask("0RD00"), QByteArray("0RD0008012C060002FF00\r\n"));
}

void TestSimulator::servesLinesOnPty() {
    ControllerSimulator sim;
    QVERIFY2(sim.isOpen(), qPrintable(sim.errorString()));
    QVERIFY(sim.devicePath().startsWith(QLatin1String("/dev/")));
    Client client(sim);
    // Two lines in one write, answered in order.
    client.port.write("0CM1\r\n0RV\r\n");
    QByteArray got;
    QTRY_VERIFY((got += client.port.readAll()).size() >= 17);
    QCOMPARE(got, QByteArray("0CM1\r\n0RV140000\r\n"));
    QCOMPARE(sim.receivedLines(), (QStringList{QStringLiteral("0CM1"), QStringLiteral("0RV")}));
}

void TestSimulator::piecesArriveApart() {
    ControllerSimulator sim;
    SimFault split;
    split.pieces = 3;
    split.pieceGapMs = 40;
    sim.addFault(split);
    Client client(sim);
    int reads = 0;
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(client.ask("0RD00", &reads), QByteArray("0RD0008012C060002FF00\r\n"));
    QVERIFY(clock.elapsed() >= 75);
    QCOMPARE(reads, 3);
}

void TestSimulator::pacedAt9600Baud() {
    ControllerSimulator sim;
    sim.setPaced(true);
    Client client(sim);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(client.ask("0RD00"), QByteArray("0RD0008012C060002FF00\r\n"));
    // 7 characters out and 23 back at 1.04 ms each.
    const qint64 ms = clock.elapsed();
    QVERIFY2(ms >= 30, qPrintable(QString::number(ms)));
}

void TestSimulator::dropsLine() {
    ControllerSimulator sim;
    QSignalSpy dropped(&sim, &ControllerSimulator::lineDropped);
    sim.setDropAfter(3);
    // The record keeps the latest line only; the drop still counts every line.
    sim.setRecordLimit(1);
    Client client(sim);
    QCOMPARE(client.ask("0CM1"), QByteArray("0CM1\r\n"));
    QCOMPARE(client.ask("0RD00").left(5), QByteArray("0RD00"));
    QCOMPARE(sim.receivedLines(), QStringList{QStringLiteral("0RD00")});
    QCOMPARE(client.ask("0RV", nullptr, 300), QByteArray());
    QCOMPARE(dropped.count(), 1);
    QVERIFY(!sim.isOpen());
    QCOMPARE(sim.receivedLines(), QStringList{QStringLiteral("0RV")});
}

QV_TEST_CORE_MAIN(TestSimulator)
#include "tst_simulator.moc"
