// qvpc-cli's Move-mode and controller-mode commands run as a process against the simulated
// controller: what each prints where, its exit status and the lines the controller received.
#include "CliRunner.h"
#include "TestPaths.h"
#include "base/ResText.h"
#include "ops/CycleTest.h"
#include "sim/ControllerSimulator.h"
#include "support/TestEnvironment.h"
#include "transfer/TransferFixture.h"

#include <QDateTime>
#include <QTemporaryDir>

#include <csignal>

namespace {

constexpr int MoveMs = 150; // the simulator's time for every move

// The moves of a cycle test's CSV file, each row checked: its number, the repeat's target, a
// start time, a good result and no less than the simulator's move time. Empty if one is not so.
QList<CycleMove> csvMoves(const QString &path, const QString &targets) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QStringList rows = QString::fromUtf8(file.readAll()).split("\r\n", Qt::SkipEmptyParts);
    QList<CycleMove> moves;
    for (int i = 1; i < rows.size(); ++i) {
        const QStringList f = rows[i].split(u',');
        const QDateTime start = QDateTime::fromString(f.value(2), Qt::ISODateWithMs);
        if (f.size() != 5 || f[0] != QString::number(i) || f[1] != targets.mid(i - 1, 1) ||
            !start.isValid() || f[3].toInt() < MoveMs || f[4] != "done")
            return {};
        moves.append(CycleMove{i, f[1].toInt(), start, f[3].toInt(), OpResult::done()});
    }
    return moves;
}

} // namespace

class TestCliMoves : public QObject {
    Q_OBJECT
private slots:
    void init() {
        clearStoredSettings();
        setLangOffset(10000);
    }

    void commands_data();
    void commands();
    void repeatStoppedBySignal_data();
    void repeatStoppedBySignal();
    void cycleTest_data();
    void cycleTest();
    void externalModeNotEchoed();
    void lostLineSaysSo_data();
    void lostLineSaysSo();
};

void TestCliMoves::commands_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("move 1") << QStringList{"move", "1"} << "1\n"
                            << QString() << QStringList{Check, "0MP1"};
    QTest::newRow("move 2") << QStringList{"move", "2"} << "2\n"
                            << QString() << QStringList{Check, "0MP2"};
    QTest::newRow("home") << QStringList{"home"} << "home\n"
                          << QString() << QStringList{Check, "0MP0"};
    QTest::newRow("reset") << QStringList{"reset"} << "reset\n"
                           << QString() << QStringList{"0%C", Check};
    QTest::newRow("version") << QStringList{"version"} << "1A7\n"
                             << "The Version of this controller is 1A7.\n"
                             << QStringList{Check, "0RV"};
    QTest::newRow("mode external")
        << QStringList{"mode", "external"} << QString() << "Changed to \"External Start Mode\".\n"
        << QStringList{Check, "0CM0"};
    QTest::newRow("mode communication") << QStringList{"mode", "communication"} << QString()
                                        << "Changed to \"Communication Mode\".\n"
                                        << QStringList{Check};
}

void TestCliMoves::commands() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(QStringList, lines);
    ControllerSimulator sim;
    sim.model().setVersion(QStringLiteral("1A7"));
    sim.model().setMoveTimeScale(0.2);

    const CliResult r = runCli(onDevice(sim.devicePath(), QStringList{"--lang", "en"} + arguments));

    QCOMPARE(r.err, err);
    QCOMPARE(r.out, out);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(sim.receivedLines(), lines);
}

void TestCliMoves::repeatStoppedBySignal_data() {
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("Ctrl+C") << SIGINT;
    QTest::newRow("SIGTERM") << SIGTERM;
}

// The signal acts as Stop during the first move: the move to 2 completes, one move to 1
// follows, and the program ends cleanly.
void TestCliMoves::repeatStoppedBySignal() {
    QFETCH(int, signalNumber);
    ControllerSimulator sim;
    QProcess process;
    QObject::connect(&sim, &ControllerSimulator::lineReceived, &process, [&](const QString &line) {
        if (line == QLatin1String("0MP2") && sim.receivedLines().size() == 2)
            ::kill(pid_t(process.processId()), signalNumber);
    });
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    process.start(QStringLiteral(QVPC_CLI_PATH),
                  onDevice(sim.devicePath(), {"--lang", "en", "move", "repeat"}));
    loop.exec();

    QCOMPARE(process.state(), QProcess::NotRunning);
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()), QStringLiteral("2\n1\n"));
    QCOMPARE(QString::fromUtf8(process.readAllStandardError()), ResText(1401) + "\n");
    QCOMPARE(sim.receivedLines(), (QStringList{Check, "0MP2", "0MP1"}));
}

void TestCliMoves::cycleTest_data() {
    QTest::addColumn<QStringList>("count");
    QTest::addColumn<QString>("targets");
    QTest::addColumn<QString>("err");
    QTest::newRow("six moves end on 1") << QStringList{"--count", "6"} << "212121" << QString();
    QTest::newRow("three moves end on 2") << QStringList{"--count", "3"} << "212"
                                          << "The feeder stopped at position 2.\n";
    QTest::newRow("Ctrl+C during the third move: the move to 1 follows")
        << QStringList() << "2121" << ResText(1401) + "\n";
}

// A cycle test on a controller whose moves take a set time: the positions, then the figures of
// each position's moves as the CSV file holds them; the controller got the repeat's lines.
void TestCliMoves::cycleTest() {
    QFETCH(QStringList, count);
    QFETCH(QString, targets);
    QFETCH(QString, err);
    ControllerSimulator sim;
    sim.model().setMoveTime(MoveMs);
    QTemporaryDir dir;
    const QString csv = dir.filePath("cycle.csv");
    QProcess process;
    QObject::connect(&sim, &ControllerSimulator::lineReceived, &process, [&] {
        if (count.isEmpty() && sim.receivedLines().size() == 4)
            ::kill(pid_t(process.processId()), SIGINT);
    });
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    process.start(QStringLiteral(QVPC_CLI_PATH),
                  onDevice(sim.devicePath(),
                           QStringList{"--lang", "en", "move", "repeat", "--csv", csv} + count));
    loop.exec();

    QCOMPARE(process.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(process.readAllStandardError()), err);
    const QList<CycleMove> moves = csvMoves(csv, targets);
    QCOMPARE(moves.size(), targets.size());
    QString out;
    for (QChar target : targets)
        out += target + QStringLiteral("\n");
    out += "target\tmoves\tmin_ms\tmedian_ms\tp95_ms\tmax_ms\talarms\n";
    for (int target : {1, 2}) {
        const CycleFigures f = cycleFigures(moves, target);
        out += QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\t0\n")
                   .arg(target)
                   .arg(f.moves)
                   .arg(f.minMs)
                   .arg(QString::number(f.medianMs, 'f', 1), QString::number(f.p95Ms, 'f', 1))
                   .arg(f.maxMs);
    }
    QCOMPARE(QString::fromUtf8(process.readAllStandardOutput()), out);
    QStringList lines{Check};
    for (QChar target : targets)
        lines.append(QStringLiteral("0MP") + target);
    QCOMPARE(sim.receivedLines(), lines);
}

// The window says nothing when the controller answers the switch without its echo; the terminal
// says why it failed.
void TestCliMoves::externalModeNotEchoed() {
    ControllerSimulator sim;
    SimFault fault = faultOn(QStringLiteral("0CM0"));
    fault.reply = QStringLiteral("0CM1");
    sim.addFault(fault);

    const CliResult r = runCli(onDevice(sim.devicePath(), {"--lang", "en", "mode", "external"}));

    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err,
             QStringLiteral("The controller did not confirm external start mode (reply 0CM1).\n"));
}

void TestCliMoves::lostLineSaysSo_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("lostOn");
    QTest::newRow("move") << QStringList{"move", "1"} << "0MP1";
    QTest::newRow("home") << QStringList{"home"} << "0MP0";
    QTest::newRow("reset") << QStringList{"reset"} << "0%C";
    QTest::newRow("mode external") << QStringList{"mode", "external"} << "0CM0";
}

// The window stays silent when the line goes away; the terminal names the port.
void TestCliMoves::lostLineSaysSo() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, lostOn);
    ControllerSimulator sim;
    SimFault lost = faultOn(lostOn);
    lost.drop = true;
    sim.addFault(lost);

    const CliResult r = runCli(onDevice(sim.devicePath(), QStringList{"--lang", "en"} + arguments));

    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, QStringLiteral("The line to %1 went away.\n").arg(sim.devicePath()));
    QVERIFY(r.out.isEmpty());
}

QV_TEST_CORE_MAIN(TestCliMoves)
#include "tst_climoves.moc"
