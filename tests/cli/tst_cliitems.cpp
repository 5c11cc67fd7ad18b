// qvpc-cli's single items and the preview of a write, run as a process against simulated
// controllers on ptys: what goes over the wire, what the controller then holds, what is printed.
#include "CliRunner.h"
#include "sim/ControllerSimulator.h"
#include "support/TestEnvironment.h"
#include "transfer/TransferFixture.h"

#include <array>

Q_DECLARE_METATYPE(QvData)

namespace {

const QStringList Blocks{QStringLiteral("02"), QStringLiteral("04"), QStringLiteral("05"),
                         QStringLiteral("00"), QStringLiteral("01")};

QMap<QString, QString> blocksOf(ControllerSimulator &sim) {
    QMap<QString, QString> blocks;
    for (const QString &b : Blocks)
        blocks[b] = sim.model().block(b);
    return blocks;
}

} // namespace

class TestCliItems : public QObject {
    Q_OBJECT
private slots:
    void init() { clearStoredSettings(); }

    void dryRun_data();
    void dryRun();
    void setOneItem_data();
    void setOneItem();
    void refusedBeforeSending_data();
    void refusedBeforeSending();
    void onSeveral_data();
    void onSeveral();

private:
    QTemporaryDir m_dir;
};

void TestCliItems::dryRun_data() {
    QTest::addColumn<QvData>("file");
    QTest::addColumn<bool>("parameters");
    QTest::addColumn<QString>("out");
    QvData edited = factoryData();
    edited.Vel1 = 20, edited.Pulse2 = 500, edited.RevDir = 1;
    QTest::newRow("differing, without --parameters")
        << edited << false
        << QStringLiteral("Position 1 - VEL\t10\t20\nPosition 2 - Position(pulse)\t200\t500\n");
    QTest::newRow("differing, with --parameters")
        << edited << true
        << QStringLiteral("Position 1 - VEL\t10\t20\nPosition 2 - Position(pulse)\t200\t500\n"
                          "Sensor parameters - The direction of rotation reversed\t0\t1\n");
    QTest::newRow("the controller's own data") << factoryData() << true << QString();
}

// The changes listed, controller's value before the file's; only the read goes out.
void TestCliItems::dryRun() {
    QFETCH(QvData, file);
    QFETCH(bool, parameters);
    QFETCH(QString, out);
    ControllerSimulator sim;
    QStringList arguments{QStringLiteral("write"), writeQvFile(m_dir, file, "dry.qvd"),
                          QStringLiteral("--dry-run")};
    if (parameters)
        arguments.append(QStringLiteral("--parameters"));

    const CliResult r = runCli(English + onDevice(sim.devicePath(), arguments));

    QCOMPARE(r.out, out);
    QCOMPARE(r.exitCode, out.isEmpty() ? 0 : 1);
    QCOMPARE(sim.receivedLines(), readLines());
}

void TestCliItems::setOneItem_data() {
    QTest::addColumn<QString>("setting");
    // Position 1 is held in two blocks.
    QTest::addColumn<QStringList>("changed");
    QTest::addColumn<QString>("getLine");
    QTest::newRow("position item") << "vel1=20" << QStringList{"02", "04"} << "Vel1 20";
    QTest::newRow("parameter item") << "HOMINGPULSE=500" << QStringList{"00"} << "HomingPulse 500";
}

// One item changed on a controller with data of its own: only its blocks differ, every other item
// keeps the controller's value, and get reads the new one back.
void TestCliItems::setOneItem() {
    QFETCH(QString, setting);
    QFETCH(QStringList, changed);
    QFETCH(QString, getLine);
    ControllerSimulator sim;
    QvData own = factoryData();
    own.Vel2 = 25, own.Pulse1 = 4000, own.SupplyCounter = 9, own.OffsetPulse = 7;
    QCOMPARE(runCli(onDevice(sim.devicePath(),
                             {QStringLiteral("--yes"), QStringLiteral("write"),
                              writeQvFile(m_dir, own, "own.qvd"), QStringLiteral("--parameters"),
                              QStringLiteral("--restart")}))
                 .exitCode,
             0);
    const QMap<QString, QString> before = blocksOf(sim);
    sim.clearReceived();

    CliResult r = runCli(onDevice(sim.devicePath(), {QStringLiteral("--yes"), QStringLiteral("set"),
                                                     setting, QStringLiteral("--restart")}));

    QCOMPARE(r.exitCode, 0);
    QMap<QString, QString> after = blocksOf(sim);
    for (const QString &b : changed) {
        QVERIFY(after[b] != before[b]);
        after[b] = before[b];
    }
    QCOMPARE(after, before);
    // Read, written, restarted, read back.
    QCOMPARE(sim.receivedLines().mid(0, 6), readLines());
    QCOMPARE(sim.receivedLines().mid(sim.receivedLines().size() - 6), readLines());
    QCOMPARE(sim.receivedLines().contains(QStringLiteral("0WD00") + sim.model().block("00")),
             changed.contains(QLatin1String("00")));

    r = runCli(onDevice(sim.devicePath(), {QStringLiteral("get"), setting.section(u'=', 0, 0),
                                           QStringLiteral("Vel2")}));
    QCOMPARE(r.out, getLine + QStringLiteral("\nVel2 25\n"));
}

void TestCliItems::refusedBeforeSending_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");
    QTest::newRow("too fast") << QStringList{"set", "Acc1=3", "Vel1=31"}
                              << "qvpc-cli: Vel1 takes a whole number from 1 to 30, not \"31\".";
    QTest::newRow("not a number") << QStringList{"set", "PauseTime2=x"}
                                  << "qvpc-cli: PauseTime2 takes a whole number from 0 to 255, "
                                     "not \"x\".";
    QTest::newRow("no value") << QStringList{"set", "RevDir"}
                              << "qvpc-cli: RevDir takes a whole number from 0 to 1, not \"\".";
    QTest::newRow("unknown item") << QStringList{"get", "Vel1", "Speed"}
                                  << "qvpc-cli: Speed: no such item (\"qvpc-cli get\" lists them).";
    QTest::newRow("named twice") << QStringList{"set", "Vel1=2", "VEL1=3"}
                                 << "qvpc-cli: Vel1 is named twice.";
    QTest::newRow("dry run with restart")
        << QStringList{"write", "x.qvd", "--dry-run", "--restart"}
        << "qvpc-cli: --dry-run writes nothing: it goes without --restart and --backup.";
}

// A usage error, exit 2, before any line reaches the controller.
void TestCliItems::refusedBeforeSending() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    ControllerSimulator sim;

    const CliResult r =
        runCli(onDevice(sim.devicePath(), QStringList{QStringLiteral("--yes")} + arguments));

    QCOMPARE(r.exitCode, 2);
    QCOMPARE(r.err.section(u'\n', 0, 0), error);
    QCOMPARE(sim.receivedLines(), QStringList());
}

void TestCliItems::onSeveral_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("after"); // get Vel1 Vel2 afterwards
    QTest::newRow("set") << QStringList{"--yes", "set", "Vel1=20", "--restart"} << 0
                         << "%1\tOK\n%2\tOK\n"
                         << "%1\tVel1 20\n%1\tVel2 10\n%2\tVel1 20\n%2\tVel2 25\n";
    QTest::newRow("dry run") << QStringList{"write", "own.qvd", "--dry-run"} << 1
                             << "%1\tPosition 1 - VEL\t10\t20\n%1\tPosition 2 - VEL\t10\t25\n"
                                "%1\tDIFFERENT\n%2\tOK\n"
                             << "%1\tVel1 10\n%1\tVel2 10\n%2\tVel1 20\n%2\tVel2 25\n";
}

// Two controllers at once, the second with data of its own: set keeps each one's other values;
// a dry run prints a block per controller and writes to neither.
void TestCliItems::onSeveral() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, after);
    std::array<ControllerSimulator, 2> sims;
    QvData own = factoryData();
    own.Vel1 = 20, own.Vel2 = 25;
    const QString file = writeQvFile(m_dir, own, "own.qvd");
    QCOMPARE(
        runCli(onDevice(sims[1].devicePath(), {QStringLiteral("--yes"), QStringLiteral("write"),
                                               file, QStringLiteral("--restart")}))
            .exitCode,
        0);
    arguments.replaceInStrings(QStringLiteral("own.qvd"), file);
    const QStringList both{QStringLiteral("--device"), sims[0].devicePath(),
                           QStringLiteral("--device"), sims[1].devicePath()};
    const auto named = [&sims](const QString &text) {
        return text.arg(sims[0].devicePath(), sims[1].devicePath());
    };

    CliResult r = runCli(English + both + arguments);

    QCOMPARE(r.exitCode, exitCode);
    QCOMPARE(r.out, named(out));
    r = runCli(both +
               QStringList{QStringLiteral("get"), QStringLiteral("Vel1"), QStringLiteral("Vel2")});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, named(after + QStringLiteral("%1\tOK\n%2\tOK\n")));
}

QV_TEST_CORE_MAIN(TestCliItems)
#include "tst_cliitems.moc"
