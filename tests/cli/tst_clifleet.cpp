// qvpc-cli beyond the window's operations: several controllers in one run, the backup before a
// write, verify --details and --trace, run as a process against simulated controllers on ptys.
#include "CliRunner.h"
#include "sim/ControllerSimulator.h"
#include "support/TestEnvironment.h"
#include "transfer/TransferFixture.h"

#include <QRegularExpression>

#include <array>

Q_DECLARE_METATYPE(QvData)

namespace {

const QString TimeoutReason =
    QStringLiteral("Communication timeout error! Check the followings; 1.Power ON for "
                   "controller? 2.Communication cables are connected?");
const QString LastBlock = QStringLiteral("0WD1FFFFFFFFFFFFF55AA");

QvData editedData() {
    QvData d = factoryData();
    d.Vel1 = 20, d.Pulse1 = 2048, d.Vel2 = 16, d.RevDir = 1;
    return d;
}

QStringList devices(const QList<ControllerSimulator *> &sims) {
    QStringList arguments;
    for (ControllerSimulator *sim : sims)
        arguments << QStringLiteral("--device") << sim->devicePath();
    return arguments;
}

} // namespace

class TestCliFleet : public QObject {
    Q_OBJECT
private slots:
    void init() { clearStoredSettings(); }

    void fleetWithOneSilent_data();
    void fleetWithOneSilent();
    void reasonOfEachFailure_data();
    void reasonOfEachFailure();
    void backup_data();
    void backup();
    void backupsByPort_data();
    void backupsByPort();
    void verifyDetails();
    void trace();
    void usageErrors_data();
    void usageErrors();

private:
    QTemporaryDir m_dir;
};

void TestCliFleet::fleetWithOneSilent_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("secondVerdict");
    QTest::newRow("write") << "write"
                           << "OK";
    QTest::newRow("verify, second controller different") << "verify"
                                                         << "DIFFERENT";
}

// Three controllers, the last one silent: two answer, one fails with the timeout text, exit 1.
void TestCliFleet::fleetWithOneSilent() {
    QFETCH(QString, command);
    QFETCH(QString, secondVerdict);
    std::array<ControllerSimulator, 3> sims;
    SimFault silent;
    silent.silent = true;
    sims[2].addFault(silent);
    const QString path = writeQvFile(m_dir, factoryData(), QStringLiteral("fleet.qvd"));
    // For the verification the second controller holds data of its own.
    if (command == QLatin1String("verify"))
        QCOMPARE(runCli(English + onDevice(sims[1].devicePath(),
                                           {QStringLiteral("--yes"), QStringLiteral("write"),
                                            writeQvFile(m_dir, editedData(), "other.qvd"),
                                            QStringLiteral("--restart")}))
                     .exitCode,
                 0);
    for (ControllerSimulator &sim : sims)
        sim.clearReceived();

    const CliResult r = runCli(English + devices({&sims[0], &sims[1], &sims[2]}) +
                               QStringList{QStringLiteral("--yes"), command, path});

    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.out, QStringLiteral("%1\tOK\n%2\t%3\n%4\tFAILED\t%5\n")
                        .arg(sims[0].devicePath(), sims[1].devicePath(), secondVerdict,
                             sims[2].devicePath(), TimeoutReason));
    if (command == QLatin1String("write")) {
        // The question once for all, before any controller is touched; each written in full.
        QCOMPARE(r.err.count(QStringLiteral("Data is transmitted to controller,Yes?")), 1);
        QVERIFY(r.err.startsWith(QStringLiteral("Data is transmitted to controller,Yes?\n")));
        QCOMPARE(sims[0].receivedLines().last(), LastBlock);
        QCOMPARE(sims[1].receivedLines().last(), LastBlock);
    } else {
        QCOMPARE(sims[0].receivedLines(), readLines());
    }
    QCOMPARE(sims[2].receivedLines(), QStringList{QStringLiteral("0CM1")});
    QVERIFY2(r.err.contains(sims[2].devicePath() + QStringLiteral(": Communication timeout")),
             qPrintable(r.err));
}

void TestCliFleet::reasonOfEachFailure_data() {
    QTest::addColumn<QString>("command");
    QTest::newRow("write") << "write";
    QTest::newRow("verify") << "verify";
}

// Each failing controller names its own reason: a port that cannot be opened says so, a refused
// communication check gives the error message it showed.
void TestCliFleet::reasonOfEachFailure() {
    QFETCH(QString, command);
    std::array<ControllerSimulator, 2> sims;
    SimFault refuse;
    refuse.match = QStringLiteral("0CM1");
    refuse.errorCode = QStringLiteral("01");
    sims[1].addFault(refuse);
    const QString missing = QStringLiteral("/dev/qvpc-test-no-such-port");
    const QString path = writeQvFile(m_dir, factoryData(), QStringLiteral("fleet.qvd"));

    const CliResult r =
        runCli(English + devices({&sims[0]}) + QStringList{QStringLiteral("--device"), missing} +
               devices({&sims[1]}) + QStringList{QStringLiteral("--yes"), command, path});

    QCOMPARE(r.exitCode, 1);
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0], sims[0].devicePath() + QStringLiteral("\tOK"));
    QVERIFY2(
        lines[1].startsWith(missing + QStringLiteral("\tFAILED\tCannot open ") + missing + ": "),
        qPrintable(lines[1]));
    QVERIFY2(lines[2].startsWith(sims[1].devicePath() + QStringLiteral("\tFAILED\tAlarm 01: ")),
             qPrintable(lines[2]));
}

void TestCliFleet::backup_data() {
    QTest::addColumn<bool>("savable");
    QTest::addColumn<bool>("unreadable");
    QTest::newRow("saved, then written") << true << false;
    QTest::newRow("backup cannot be saved") << false << false;
    QTest::newRow("controller cannot be read") << true << true;
}

// The backup holds what the controller had before; without it nothing is written.
void TestCliFleet::backup() {
    QFETCH(bool, savable);
    QFETCH(bool, unreadable);
    ControllerSimulator sim;
    SimFault error = faultOn(QStringLiteral("0RD05"));
    error.errorCode = QStringLiteral("01");
    if (unreadable)
        sim.addFault(error);
    const QString path = writeQvFile(m_dir, editedData(), QStringLiteral("new.qvd"));
    const QString backup =
        m_dir.filePath(savable ? QStringLiteral("old.qvd") : QStringLiteral("no/such/old.qvd"));
    QFile::remove(backup);

    const CliResult r = runCli(
        English + onDevice(sim.devicePath(), {QStringLiteral("--yes"), QStringLiteral("write"),
                                              path, QStringLiteral("--backup"), backup}));

    if (savable && !unreadable) {
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(readBytes(backup), QvDataFile::format(factoryData()));
        QCOMPARE(sim.receivedLines().mid(0, 6), readLines());
        QCOMPARE(sim.receivedLines().last(), LastBlock);
        return;
    }
    QCOMPARE(r.exitCode, 1);
    QVERIFY(!QFile::exists(backup));
    QVERIFY(!sim.receivedLines().join(u' ').contains(QStringLiteral("0WD")));
    QVERIFY2(r.err.endsWith(unreadable ? QStringLiteral("The controller could not be read for the "
                                                        "backup; nothing was written.\n")
                                       : QStringLiteral("The backup %1 could not be saved; "
                                                        "nothing was written.\n")
                                             .arg(backup)),
             qPrintable(r.err));
}

void TestCliFleet::backupsByPort_data() {
    QTest::addColumn<int>("controllers");
    QTest::newRow("one controller") << 1;
    QTest::newRow("two controllers") << 2;
}

// {port} in the backup's name becomes each controller's device name, also for a single one.
void TestCliFleet::backupsByPort() {
    QFETCH(int, controllers);
    std::array<ControllerSimulator, 2> all;
    const QList<ControllerSimulator *> sims =
        QList<ControllerSimulator *>{&all[0], &all[1]}.mid(0, controllers);
    const QString path = writeQvFile(m_dir, editedData(), QStringLiteral("new.qvd"));
    const QString pattern = m_dir.filePath(QStringLiteral("before-{port}.qvd"));

    const CliResult r =
        runCli(devices(sims) + QStringList{QStringLiteral("--yes"), QStringLiteral("write"), path,
                                           QStringLiteral("--backup"), pattern});

    QCOMPARE(r.exitCode, 0);
    for (const ControllerSimulator *each : sims) {
        const ControllerSimulator &sim = *each;
        // A pseudo-terminal is named "pts" and its number, not the bare number.
        const QString name = QStringLiteral("pts") + QFileInfo(sim.devicePath()).fileName();
        QCOMPARE(readBytes(QString(pattern).replace(QStringLiteral("{port}"), name)),
                 QvDataFile::format(factoryData()));
        QCOMPARE(sim.receivedLines().last(), LastBlock);
    }
}

// Each differing item on its own line: label, the file's value, the controller's value.
void TestCliFleet::verifyDetails() {
    ControllerSimulator sim;
    QvData file = factoryData();
    file.Pulse2 = 201, file.RevDir = 1;
    const QString path = writeQvFile(m_dir, file, QStringLiteral("details.qvd"));

    CliResult r = runCli(
        onDevice(sim.devicePath(), {QStringLiteral("verify"), path, QStringLiteral("--details"),
                                    QStringLiteral("--parameters")}));

    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.out, QStringLiteral("位置２ - 位置（ﾊﾟﾙｽ）\t201\t200\n"
                                   "ｾﾝｻﾊﾟﾗﾒｰﾀ - 回転方向逆転\t1\t0\n"));
    QVERIFY(r.err.startsWith(QStringLiteral("照合結果－ＮＧ\n")));

    // Equal: nothing on standard output.
    r = runCli(onDevice(sim.devicePath(),
                        {QStringLiteral("verify"), writeQvFile(m_dir, factoryData(), "same.qvd"),
                         QStringLiteral("--details")}));
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QString());
}

// --trace: each line sent and received with its time, and how each exchange ended.
void TestCliFleet::trace() {
    ControllerSimulator sim;
    SimFault error = faultOn(QStringLiteral("0RD04"));
    error.errorCode = QStringLiteral("05");
    sim.addFault(error);

    const CliResult r = runCli(
        English + onDevice(sim.devicePath(), {QStringLiteral("--trace"), QStringLiteral("read")}));

    QCOMPARE(r.exitCode, 1);
    QStringList traced;
    static const QRegularExpression stamp(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d "));
    for (const QString &line : r.err.split(u'\n')) {
        if (stamp.match(line).hasMatch())
            traced.append(line.mid(13));
    }
    QCOMPARE(traced,
             (QStringList{QStringLiteral("*** %1 opened").arg(sim.devicePath()),
                          QStringLiteral("--> 0CM1<CR><LF>"), QStringLiteral("<-- 0CM1<CR><LF>"),
                          QStringLiteral("=== good"), QStringLiteral("--> 0RD02<CR><LF>"),
                          QStringLiteral("<-- 0RD0228030200019005FF<CR><LF>"),
                          QStringLiteral("=== good"), QStringLiteral("--> 0RD04<CR><LF>"),
                          QStringLiteral("<-- 0%%05<CR><LF>"),
                          QStringLiteral("=== error reply 05 EEPROM writing error"),
                          QStringLiteral("*** %1 closed").arg(sim.devicePath())}));
}

void TestCliFleet::usageErrors_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("reason");
    QTest::newRow("read on two")
        << QStringList{"--port", "1", "--device", "/dev/null", "read"}
        << "Several controllers can only be written, verified, read with get or changed with set.";
    QTest::newRow("io on two")
        << QStringList{"io", "--port", "1", "--port", "2"}
        << "Several controllers can only be written, verified, read with get or changed with set.";
    QTest::newRow("move on two, ports after the command")
        << QStringList{"move", "1", "--port", "1", "--trace", "--port", "2"}
        << "Several controllers can only be written, verified, read with get or changed with set.";
    QTest::newRow("backup without {port}")
        << QStringList{"--port", "1", "--port", "2", "write", "a.qvd", "--backup", "b.qvd"}
        << "With several controllers, BACKUP needs {port} in its name.";
    QTest::newRow("two devices of one file name")
        << QStringList{"--device", "/dev/ttyUSB0", "--device", "/tmp/ttyUSB0",  "--yes",
                       "write",    "a.qvd",        "--backup", "old-{port}.qvd"}
        << "Two controllers would share one BACKUP file.";
    QTest::newRow("same port twice") << QStringList{"--port", "2", "--port", "2", "verify", "a.qvd"}
                                     << "A controller is named twice.";
    // Compared by what they resolve to, not by their spelling.
    QTest::newRow("one device spelled twice")
        << QStringList{"--device", "/dev/pts//3", "--device", "/dev/pts/3", "verify", "a.qvd"}
        << "A controller is named twice.";
    // A server's port is one controller whichever way it is spoken to.
    QTest::newRow("one server port, two ways")
        << QStringList{"--device", "rfc2217://127.0.0.1:4001",
                       "--device", "tcp://127.0.0.1:4001/",
                       "verify",   "a.qvd"}
        << "A controller is named twice.";
    QTest::newRow("pin of another length")
        << QStringList{"--device", "rfc2217+tls://127.0.0.1:4001", "--pin", "AB:CD", "read"}
        << "--pin is the SHA-256 fingerprint: 64 hexadecimal digits, colons allowed.";
    QTest::newRow("client certificate without its key")
        << QStringList{"--cert", "operator.crt", "read"} << "Give --cert and --key together.";
    QTest::newRow("network address without a port")
        << QStringList{"--device", "rfc2217://127.0.0.1", "read"}
        << "--device rfc2217://127.0.0.1: a network line is rfc2217://HOST:PORT or "
           "tcp://HOST:PORT ([HOST] for IPv6), over TLS rfc2217+tls:// or tcp+tls://.";
    QTest::newRow("backup is the file written")
        << QStringList{"--device", "/dev/null", "--yes", "write", "a.qvd", "--backup", "./a.qvd"}
        << "BACKUP would replace FILE, the file being written.";
    QTest::newRow("PDF is the file printed") << QStringList{"print", "a.qvd", "--pdf", "x/../a.qvd"}
                                             << "--pdf would replace FILE, the file being printed.";
    QTest::newRow("--details on write")
        << QStringList{"write", "a.qvd", "--details"} << "Unknown option 'details'.";
}

void TestCliFleet::usageErrors() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, reason);
    const CliResult r = runCli(arguments);
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.startsWith(QStringLiteral("qvpc-cli: ") + reason), qPrintable(r.err));
}

QV_TEST_CORE_MAIN(TestCliFleet)
#include "tst_clifleet.moc"
