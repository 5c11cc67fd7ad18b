// qvpc-cli io run as a process against the simulated controller on a pty: the nine lines it
// prints, the lines the controller receives, the watch and how it ends.
#include "CliRunner.h"
#include "TestPaths.h"
#include "sim/ControllerSimulator.h"
#include "support/TestEnvironment.h"

#include <QRegularExpression>

#include <csignal>

class TestCliIo : public QObject {
    Q_OBJECT
private slots:
    void init() { clearStoredSettings(); }

    void read_data();
    void read();
    void set_data();
    void set();
    void watchCountsReads();
    void watchPrintsChanges();
    void watchEndsOnSignal_data();
    void watchEndsOnSignal();
    void failedRead();
    void usageErrors_data();
    void usageErrors();
};

void TestCliIo::read_data() {
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QString>("out");
    QTest::newRow("English") << "en"
                             << "RUN\toff\nCONT\toff\nPAUSE\ton\nTIP SENSOR\ton\n"
                                "RAIL SENSOR\ton\nIIN-P\toff\nOK\ton\nESCAPE SOL.\toff\n"
                                "EMPTY\ton\n";
    QTest::newRow("Japanese") << "ja"
                              << "動作指令\toff\n連続運転\toff\n整列停止\ton\n先端ﾜｰｸ検出\ton\n"
                                 "ﾚｰﾙﾜｰｸ検出\ton\n停止中\toff\n取り出しOK\ton\n"
                                 "切り出しSOL.\toff\nﾜｰｸ不足\ton\n";
}

void TestCliIo::read() {
    QFETCH(QString, lang);
    QFETCH(QString, out);
    ControllerSimulator sim;
    sim.model().holdPorts({0x08, 0x40, 0x06});
    const CliResult r =
        runCli(onDevice(sim.devicePath(), {QStringLiteral("--lang"), lang, QStringLiteral("io")}));
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, out);
    QCOMPARE(r.err, QString());
    QCOMPARE(sim.receivedLines(), QStringList{"0RD20"});
}

void TestCliIo::set_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("outputs");
    // Held: no work and take-out OK on.
    QTest::newRow("one output, the others as read")
        << QStringList{"--set", "escape=on"} << "0WSD0"
        << "IIN-P\toff\nOK\ton\nESCAPE SOL.\ton\nEMPTY\ton\n";
    QTest::newRow("several, after one --set")
        << QStringList{"--set", "no-work=off", "stopped=on", "take-out=off"} << "0WS20"
        << "IIN-P\ton\nOK\toff\nESCAPE SOL.\toff\nEMPTY\toff\n";
    QTest::newRow("--set repeated")
        << QStringList{"--set", "take-out=off", "--set", "escape=on"} << "0WS90"
        << "IIN-P\toff\nOK\toff\nESCAPE SOL.\ton\nEMPTY\ton\n";
    QTest::newRow("asked as it is: the pattern goes out all the same")
        << QStringList{"--set", "no-work=on"} << "0WS50"
        << "IIN-P\toff\nOK\ton\nESCAPE SOL.\toff\nEMPTY\ton\n";
}

void TestCliIo::set() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, written);
    QFETCH(QString, outputs);
    ControllerSimulator sim;
    sim.model().holdPorts({0x08, 0x40, 0x06});
    const CliResult r =
        runCli(onDevice(sim.devicePath(), QStringList{QStringLiteral("--lang"),
                                                      QStringLiteral("en"), QStringLiteral("io")} +
                                              arguments));
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(sim.receivedLines(), (QStringList{"0RD20", written, "0RD20"}));
    QCOMPARE(r.out, QStringLiteral("RUN\toff\nCONT\toff\nPAUSE\ton\nTIP SENSOR\ton\n"
                                   "RAIL SENSOR\ton\n") +
                        outputs);
}

void TestCliIo::watchCountsReads() {
    ControllerSimulator sim;
    sim.model().holdPorts({0x08, 0x40, 0x06});
    const CliResult r =
        runCli(onDevice(sim.devicePath(), {QStringLiteral("--lang"), QStringLiteral("en"),
                                           QStringLiteral("io"), QStringLiteral("--watch"),
                                           QStringLiteral("--count"), QStringLiteral("4")}));
    QCOMPARE(r.exitCode, 0);
    // Nothing changes: the nine lines only.
    QCOMPARE(r.out.count(u'\n'), 9);
    QVERIFY(r.out.startsWith(QStringLiteral("RUN\toff\n")));
    QCOMPARE(sim.receivedLines(), (QStringList{"0RD20", "0RD20", "0RD20", "0RD20"}));
}

void TestCliIo::watchPrintsChanges() {
    // The running feeder: parts arrive on the rail and at the tip in a 1.5 s cycle.
    ControllerSimulator sim;
    const CliResult r =
        runCli(onDevice(sim.devicePath(), {QStringLiteral("--lang"), QStringLiteral("en"),
                                           QStringLiteral("io"), QStringLiteral("--watch"),
                                           QStringLiteral("--count"), QStringLiteral("12")}));
    QCOMPARE(r.exitCode, 0);
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    QVERIFY2(lines.size() > 9, qPrintable(r.out));
    const QRegularExpression change(QStringLiteral(
        R"(^\d\d:\d\d:\d\d\.\d\d\d\t(RUN|CONT|PAUSE|TIP SENSOR|RAIL SENSOR)\t(on|off)$)"));
    for (const QString &line : lines.mid(9))
        QVERIFY2(change.match(line).hasMatch(), qPrintable(line));
    QCOMPARE(sim.receivedLines().size(), 12);
}

void TestCliIo::watchEndsOnSignal_data() {
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGINT") << SIGINT;
    QTest::newRow("SIGTERM") << SIGTERM;
}

void TestCliIo::watchEndsOnSignal() {
    QFETCH(int, signal);
    ControllerSimulator sim;
    QProcess cli;
    cli.start(QStringLiteral(QVPC_CLI_PATH),
              onDevice(sim.devicePath(), {QStringLiteral("io"), QStringLiteral("--watch")}));
    QByteArray out;
    QTRY_VERIFY_WITH_TIMEOUT((out += cli.readAllStandardOutput()).count('\n') >= 9, 10000);
    ::kill(pid_t(cli.processId()), signal);
    QTRY_VERIFY_WITH_TIMEOUT(cli.state() == QProcess::NotRunning, 10000);
    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QCOMPARE(cli.exitCode(), 0);
    // Every read was answered; nothing was left half sent.
    for (const QString &line : sim.receivedLines())
        QCOMPARE(line, QStringLiteral("0RD20"));
}

void TestCliIo::failedRead() {
    ControllerSimulator sim;
    SimFault fault;
    fault.errorCode = QStringLiteral("03");
    sim.addFault(fault);
    const CliResult r =
        runCli(onDevice(sim.devicePath(), {QStringLiteral("--lang"), QStringLiteral("en"),
                                           QStringLiteral("io"), QStringLiteral("--watch")}));
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.out, QString());
    QVERIFY2(r.err.contains(QStringLiteral("Communication error occurs!")), qPrintable(r.err));
    QCOMPARE(sim.receivedLines(), QStringList{"0RD20"});
}

void TestCliIo::usageErrors_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("unknown output") << QStringList{"io", "--set", "lamp=on"};
    QTest::newRow("state neither on nor off") << QStringList{"io", "--set", "escape=1"};
    QTest::newRow("an input cannot be set") << QStringList{"io", "--set", "run=on"};
    QTest::newRow("a setting without --set") << QStringList{"io", "escape=on"};
    QTest::newRow("--count without --watch") << QStringList{"io", "--count", "3"};
    QTest::newRow("--count of 0") << QStringList{"io", "--watch", "--count", "0"};
    QTest::newRow("watch and set") << QStringList{"io", "--watch", "--set", "escape=on"};
}

void TestCliIo::usageErrors() {
    QFETCH(QStringList, arguments);
    ControllerSimulator sim;
    const CliResult r = runCli(onDevice(sim.devicePath(), arguments));
    QCOMPARE(r.exitCode, 2);
    QVERIFY(sim.receivedLines().isEmpty());
}

QV_TEST_CORE_MAIN(TestCliIo)
#include "tst_cliio.moc"
