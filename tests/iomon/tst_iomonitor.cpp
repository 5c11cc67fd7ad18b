// The I/O monitor against the simulated controller on a pty: which lamps a read lights, the
// output pattern a switching request sends, what a failed exchange leaves behind, and that a slow
// reply never gets a second exchange beside it.
#include "IoFixture.h"
#include "base/ResText.h"
#include "support/TestEnvironment.h"

#include <QElapsedTimer>
#include <QSignalSpy>

namespace {

QString errorReplyText(int textId) {
    return ResText(215) + QStringLiteral("\r\n[") + ResText(textId) + QLatin1Char(']');
}

QString timeoutText() {
    return QStringList{ResText(1100), ResText(1101), ResText(1102), ResText(1103)}.join(
        QStringLiteral("\r\n"));
}

} // namespace

class TestIoMonitor : public QObject {
    Q_OBJECT
private slots:
    void init() { clearStoredSettings(); }

    void lamps_data();
    void lamps();
    void portBytesFromReply_data();
    void portBytesFromReply();
    void outputPattern_data();
    void outputPattern();
    void failureStopsMonitoring_data();
    void failureStopsMonitoring();
    void slowReplyGetsNoSecondExchange();
    void doubleClickDuringSlowWriteGoesOutNext();
};

void TestIoMonitor::lamps_data() {
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("c");
    QTest::addColumn<QStringList>("red");
    QTest::newRow("A 08, B 40, C 06")
        << 0x08 << 0x40 << 0x06 << QStringList{"pause", "tip", "rail", "take-out", "no-work"};
    // Inputs are active low, outputs active high.
    QTest::newRow("every bit clear")
        << 0x00 << 0x00 << 0x00 << QStringList{"run", "cont", "pause", "tip", "rail"};
    QTest::newRow("every bit set")
        << 0xFF << 0xFF << 0xFF << QStringList{"stopped", "take-out", "escape", "no-work"};
    QTest::newRow("A 30, B 88, C 24: each byte's other signals")
        << 0x30 << 0x88 << 0x24 << QStringList{"run", "stopped", "escape"};
}

void TestIoMonitor::lamps() {
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, c);
    QFETCH(QStringList, red);
    IoFixture f;
    f.hold(a, b, c);
    QSignalSpy shown(&f.monitor, &IoMonitor::lampsChanged);
    QVERIFY(f.monitor.tick().isDone());
    QCOMPARE(f.redLamps(), red);
    QCOMPARE(shown.size(), 1);
    // One read, no communication check, the port released afterwards.
    QCOMPARE(f.sim.receivedLines(), QStringList{"0RD20"});
    QVERIFY(!f.link.isPortOpen());
    QVERIFY(f.prompt.shown.isEmpty());
}

void TestIoMonitor::portBytesFromReply_data() {
    QTest::addColumn<QString>("reply");
    QTest::addColumn<bool>("good");
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("c");
    QTest::newRow("bytes B5 to B7") << "0RD2012345678901A2B3C\r\n" << true << 0x1A << 0x2B << 0x3C;
    QTest::newRow("a letter that is no digit") << "0RD2000000000000G4006\r\n"
                                               << false << 0 << 0 << 0;
    QTest::newRow("a blank in a byte") << "0RD200000000000 84006\r\n" << false << 0 << 0 << 0;
    QTest::newRow("a sign in a byte") << "0RD2000000000000840-6\r\n" << false << 0 << 0 << 0;
}

void TestIoMonitor::portBytesFromReply() {
    QFETCH(QString, reply);
    QFETCH(bool, good);
    IoPorts ports{7, 7, 7};
    QCOMPARE(IoSignals::portsFromReply(reply, ports), good);
    if (good) {
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(int, c);
        QCOMPARE(ports, (IoPorts{a, b, c}));
    } else {
        // The lamps keep what the last good read showed.
        QCOMPARE(ports, (IoPorts{7, 7, 7}));
    }
}

void TestIoMonitor::outputPattern_data() {
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<QStringList>("doubleClicks");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QStringList>("redOutputs");
    // Only take-out OK stays: mask 4.
    QTest::newRow("no work switched off beside take-out OK")
        << 0x08 << 0x40 << QStringList{"no-work"} << "0WS40" << QStringList{"take-out"};
    QTest::newRow("two double-clicks before the tick switch once")
        << 0x00 << 0x00 << QStringList{"escape", "escape"} << "0WS80" << QStringList{"escape"};
    QTest::newRow("all four switched on")
        << 0x00 << 0x00 << QStringList{"stopped", "take-out", "no-work", "escape"} << "0WSF0"
        << QStringList{"stopped", "take-out", "escape", "no-work"};
    QTest::newRow("input lamps switch nothing")
        << 0x20 << 0x00 << QStringList{"run", "rail"} << QString() << QStringList{"stopped"};
}

void TestIoMonitor::outputPattern() {
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(QStringList, doubleClicks);
    QFETCH(QString, written);
    QFETCH(QStringList, redOutputs);
    IoFixture f;
    f.hold(a, b, 0x06);
    QVERIFY(f.monitor.tick().isDone());
    f.sim.clearReceived();
    for (const QString &name : doubleClicks)
        f.monitor.requestToggle(IoFixture::signal(name));
    QVERIFY(f.monitor.tick().isDone());
    // The change goes out first, then the block is read back and shown.
    const QStringList expected =
        written.isEmpty() ? QStringList{"0RD20"} : QStringList{written, "0RD20"};
    QCOMPARE(f.sim.receivedLines(), expected);
    QCOMPARE(f.redOutputs(), redOutputs);
    QVERIFY(!f.link.isPortOpen());
}

void TestIoMonitor::failureStopsMonitoring_data() {
    QTest::addColumn<QString>("failing");
    QTest::addColumn<bool>("silent");
    QTest::addColumn<QString>("request");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("message");
    QTest::newRow("read answered with an error")
        << "0RD20" << false << QString() << QStringList{"0RD20"} << errorReplyText(263);
    // The block is read back once after a failed write, as after a good one.
    QTest::newRow("write answered with an error")
        << "0WS" << false << "no-work" << QStringList{"0WS10", "0RD20"} << errorReplyText(263);
    QTest::newRow("read not answered")
        << "0RD20" << true << QString() << QStringList{"0RD20"} << timeoutText();
}

void TestIoMonitor::failureStopsMonitoring() {
    QFETCH(QString, failing);
    QFETCH(bool, silent);
    QFETCH(QString, request);
    QFETCH(QStringList, lines);
    QFETCH(QString, message);
    IoFixture f;
    f.hold(0x00, 0x40, 0x06);
    SimFault fault;
    fault.match = failing;
    fault.times = 1;
    fault.silent = silent;
    fault.errorCode = silent ? QString() : QStringLiteral("03");
    f.sim.addFault(fault);
    if (!request.isEmpty())
        f.monitor.requestToggle(IoFixture::signal(request));
    QSignalSpy running(&f.monitor, &IoMonitor::monitoringChanged);

    f.monitor.toggleMonitoring();
    QVERIFY(f.monitor.isMonitoring());
    QTRY_VERIFY_WITH_TIMEOUT(!f.monitor.isMonitoring(), 8000);
    QCOMPARE(f.prompt.texts(), QStringList{message});
    QCOMPARE(running.size(), 2);
    QCOMPARE(running.last().first().toBool(), false);
    QVERIFY(!f.link.isPortOpen());
    QVERIFY(f.monitor.failed());
    // What ended it, with the message shown for it.
    QCOMPARE(f.monitor.failure().failure,
             silent ? OpResult::Failure::Timeout : OpResult::Failure::ErrorReply);
    QCOMPARE(f.monitor.failure().text, message);
    // Stopped for good: no poll follows.
    QTest::qWait(3 * IoMonitor::PollIntervalMs);
    QCOMPARE(f.sim.receivedLines(), lines);

    // The next start monitors again.
    f.sim.clearReceived();
    f.monitor.toggleMonitoring();
    QTRY_VERIFY(f.received(QStringLiteral("0RD20")) >= 2);
    QVERIFY(f.monitor.isMonitoring());
    QVERIFY(!f.monitor.failed());
    QCOMPARE(f.prompt.shown.size(), 1);
    f.monitor.toggleMonitoring();
    QVERIFY(!f.monitor.isMonitoring());
}

void TestIoMonitor::slowReplyGetsNoSecondExchange() {
    IoFixture f;
    f.hold(0x00, 0x00, 0x06);
    // The first reply takes about 900 ms: four ticks fall due meanwhile.
    f.slowAnswer(QStringLiteral("0RD20"), 900);
    QStringList linesAtFirstRead;
    QElapsedTimer clock;
    connect(&f.monitor, &IoMonitor::lampsChanged, this, [&] {
        if (linesAtFirstRead.isEmpty())
            linesAtFirstRead = f.sim.receivedLines();
    });
    clock.start();
    f.monitor.toggleMonitoring();
    QTRY_VERIFY(!linesAtFirstRead.isEmpty());
    QVERIFY(clock.elapsed() >= 900);
    QCOMPARE(linesAtFirstRead, QStringList{"0RD20"});
    // Polling goes on at its rhythm afterwards.
    QTRY_VERIFY(f.received(QStringLiteral("0RD20")) >= 3);
    QVERIFY(f.prompt.shown.isEmpty());
    f.monitor.toggleMonitoring();
}

void TestIoMonitor::doubleClickDuringSlowWriteGoesOutNext() {
    IoFixture f;
    f.hold(0x00, 0x00, 0x06);
    f.slowAnswer(QStringLiteral("0WS"), 600);
    f.monitor.requestToggle(IoFixture::signal(QStringLiteral("escape")));
    // Once the write is on its way, no work is double-clicked.
    connect(&f.sim, &ControllerSimulator::lineReceived, this, [&](const QString &line) {
        if (line.startsWith(QLatin1String("0WS8")))
            QTimer::singleShot(200, this, [&] {
                f.monitor.requestToggle(IoFixture::signal(QStringLiteral("no-work")));
            });
    });
    f.monitor.toggleMonitoring();
    QTRY_VERIFY_WITH_TIMEOUT(f.received(QStringLiteral("0WS")) == 2, 5000);
    f.monitor.toggleMonitoring();
    QCOMPARE(f.sim.receivedLines().mid(0, 3), (QStringList{"0WS80", "0RD20", "0WS90"}));
    QTRY_COMPARE(f.redOutputs(), (QStringList{"escape", "no-work"}));
}

QV_TEST_CORE_MAIN(TestIoMonitor)
#include "tst_iomonitor.moc"
