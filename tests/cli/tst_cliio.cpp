// qvpc-cli io run as a process against the simulated controller on a pty: the nine lines it
// prints, the lines the controller receives, the watch and how it ends.
#include "CliRunner.h"
#include "TestPaths.h"
#include "iomon/IoSignals.h"
#include "sim/ControllerSimulator.h"
#include "support/FileSizeLimit.h"
#include "support/TestEnvironment.h"

#include <QRegularExpression>
#include <QStandardPaths>

#include <csignal>
#include <sys/stat.h>
#include <sys/sysmacros.h>

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
    void recordsTheWatch_data();
    void recordsTheWatch();
    void recordingKeepsAnOlderFile();
    void recordingReplacesAfterTheFirstRead();
    void recordingGoesOnlyToAFile_data();
    void recordingGoesOnlyToAFile();
    void fullDiskEndsTheWatch();
    void usageErrors_data();
    void usageErrors();
};

void TestCliIo::read_data() {
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QString>("out");
    QTest::newRow("English") << "en"
                             << "run\toff\ncontinuous\toff\npause\ton\ntip-sensor\ton\n"
                                "rail-sensor\ton\nstopped\toff\ntake-out\ton\nescape\toff\n"
                                "no-work\ton\n";
    QTest::newRow("Japanese") << "ja"
                              << "run\toff\ncontinuous\toff\npause\ton\ntip-sensor\ton\n"
                                 "rail-sensor\ton\nstopped\toff\ntake-out\ton\n"
                                 "escape\toff\nno-work\ton\n";
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
        << "stopped\toff\ntake-out\ton\nescape\ton\nno-work\ton\n";
    QTest::newRow("several, after one --set")
        << QStringList{"--set", "no-work=off", "stopped=on", "take-out=off"} << "0WS20"
        << "stopped\ton\ntake-out\toff\nescape\toff\nno-work\toff\n";
    QTest::newRow("--set repeated")
        << QStringList{"--set", "take-out=off", "--set", "escape=on"} << "0WS90"
        << "stopped\toff\ntake-out\toff\nescape\ton\nno-work\ton\n";
    QTest::newRow("asked as it is: the pattern goes out all the same")
        << QStringList{"--set", "no-work=on"} << "0WS50"
        << "stopped\toff\ntake-out\ton\nescape\toff\nno-work\ton\n";
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
    QCOMPARE(r.out, QStringLiteral("run\toff\ncontinuous\toff\npause\ton\ntip-sensor\ton\n"
                                   "rail-sensor\ton\n") +
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
    QVERIFY(r.out.startsWith(QStringLiteral("run\toff\n")));
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
        R"(^\d\d:\d\d:\d\d\.\d\d\d\t(run|continuous|pause|tip-sensor|rail-sensor)\t(on|off)$)"));
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

namespace {

QByteArray fileText(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A VCD's wires and its value changes, "#t" followed by that time's changes sorted, so that two
// writers that order them differently compare equal.
QStringList vcdChanges(const QByteArray &vcd) {
    QStringList out;
    for (const QByteArray &raw : vcd.split('\n')) {
        const QString line = QString::fromLatin1(raw).trimmed();
        if (line.startsWith(QLatin1String("$var")) || line.startsWith(u'#'))
            out << line;
        else if (!out.isEmpty() && out.last().startsWith(u'#') && !line.isEmpty() &&
                 !line.startsWith(u'$'))
            out.last() += u' ' + line;
    }
    for (QString &line : out) {
        QStringList words = line.split(u' ');
        if (line.startsWith(u'#'))
            std::sort(words.begin() + 1, words.end());
        line = words.join(u' ');
    }
    return out;
}

// The arguments of a watch of this many reads in English.
QStringList watchOf(const ControllerSimulator &sim, int reads, const QStringList &more) {
    return onDevice(
        sim.devicePath(),
        QStringList{"--lang", "en", "io", "--watch", "--count", QString::number(reads)} + more);
}

} // namespace

void TestCliIo::recordsTheWatch_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<bool>("quiet");
    QTest::newRow("VCD beside the lines") << "--vcd" << false;
    QTest::newRow("CSV instead of the lines") << "--csv" << true;
}

void TestCliIo::recordsTheWatch() {
    QFETCH(QString, option);
    QFETCH(bool, quiet);
    // The running feeder, so that the recording has changes.
    ControllerSimulator sim;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("watch.rec"));
    QStringList more{option, path};
    if (quiet)
        more << QStringLiteral("--quiet");
    const CliResult r = runCli(watchOf(sim, 20, more));
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out.isEmpty(), quiet);
    QCOMPARE(sim.receivedLines().size(), 20);
    const QByteArray text = fileText(path);
    if (option == QLatin1String("--csv")) {
        const QList<QByteArray> rows = text.trimmed().split('\n');
        QCOMPARE(rows.size(), 21);
        QVERIFY(rows.first().startsWith("time_s,run,"));
        double last = -1;
        for (const QByteArray &row : rows.mid(1)) {
            const QList<QByteArray> fields = row.split(',');
            QCOMPARE(fields.size(), 10);
            QVERIFY2(fields.first().toDouble() > last, row.constData());
            last = fields.first().toDouble();
        }
        return;
    }
    // An outside reader takes the VCD: GTKWave's converter (Debian package gtkwave) turns it
    // into its own format, and its converter back gives the same wires and changes. The
    // converter alone takes almost anything, so the way back is what shows it was understood.
    const QString fst = dir.filePath(QStringLiteral("watch.fst"));
    QByteArray back;
    for (const auto &[tool, arguments] :
         {std::pair{"vcd2fst", QStringList{path, fst}}, std::pair{"fst2vcd", QStringList{fst}}}) {
        const QString program = QStandardPaths::findExecutable(QLatin1String(tool));
        QVERIFY2(!program.isEmpty(), "GTKWave's converters are missing: scripts/setup.sh "
                                     "installs the package gtkwave");
        QProcess converter;
        converter.start(program, arguments);
        QVERIFY(converter.waitForFinished(60000));
        QVERIFY2(converter.exitStatus() == QProcess::NormalExit && converter.exitCode() == 0,
                 converter.readAllStandardError().constData());
        back = converter.readAllStandardOutput();
    }
    const QStringList changes = vcdChanges(text);
    // The nine wires, the states at 0 and at least one change of the running feeder.
    QVERIFY2(changes.size() > IoSignals::Count + 2, text.constData());
    QCOMPARE(vcdChanges(back), changes);
}

void TestCliIo::recordingKeepsAnOlderFile() {
    ControllerSimulator sim;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.csv"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("kept\n") == 5);
    old.close();
    CliResult r = runCli(watchOf(sim, 2, {QStringLiteral("--csv"), path}));
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, QStringLiteral("%1 already exists. Give --yes to replace it.\n").arg(path));
    QCOMPARE(fileText(path), QByteArray("kept\n"));
    QVERIFY(sim.receivedLines().isEmpty());
}

// With --yes an existing recording is replaced only once the first read is on disk: a watch
// whose first read fails leaves it as it was, one that reads replaces it, nothing left beside it.
void TestCliIo::recordingReplacesAfterTheFirstRead() {
    ControllerSimulator sim;
    SimFault once;
    once.errorCode = QStringLiteral("03");
    once.times = 1;
    sim.addFault(once);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.csv"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("kept\n") == 5);
    old.close();
    const QStringList record{QStringLiteral("--yes"), QStringLiteral("--csv"), path};

    QCOMPARE(runCli(watchOf(sim, 2, record)).exitCode, 1);
    QCOMPARE(fileText(path), QByteArray("kept\n"));
    QCOMPARE(runCli(watchOf(sim, 2, record)).exitCode, 0);
    QCOMPARE(fileText(path).count('\n'), 3);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.csv"});
}

void TestCliIo::recordingGoesOnlyToAFile_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("a copy of a device node") << "device";
    QTest::newRow("a FIFO") << "fifo";
    QTest::newRow("the controller's own line") << "controller";
}

// A recording aimed at anything but a file is a usage error before anything is sent; what is
// there stays.
void TestCliIo::recordingGoesOnlyToAFile() {
    QFETCH(QString, kind);
    ControllerSimulator sim;
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("io.vcd"));
    const QByteArray name = QFile::encodeName(path);
    if (kind == QLatin1String("device")) {
        // The numbers of /dev/full: every write to it fails.
        if (::mknod(name.constData(), S_IFCHR | 0666, makedev(1, 7)) != 0)
            QSKIP("making a device node needs root");
    } else if (kind == QLatin1String("fifo")) {
        QVERIFY(::mkfifo(name.constData(), 0600) == 0);
    } else {
        path = sim.devicePath();
    }

    const CliResult r =
        runCli(watchOf(sim, 2, {QStringLiteral("--yes"), QStringLiteral("--vcd"), path}));

    QCOMPARE(r.exitCode, 2);
    QVERIFY(sim.receivedLines().isEmpty());
    QVERIFY(QFileInfo(path).exists() && !QFileInfo(path).isFile());
}

void TestCliIo::fullDiskEndsTheWatch() {
    ControllerSimulator sim;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("full.csv"));
    CliResult r;
    {
        // Room for the head and two rows and a half: the program inherits the limit.
        FileSizeLimit full(83 + 2 * 24 + 12);
        QVERIFY(full.isSet());
        r = runCli(onDevice(sim.devicePath(),
                            {"--lang", "en", "io", "--watch", "--csv", path, "--quiet"}));
    }
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(QStringLiteral("The recording %1 could not be written any further and "
                                           "was stopped; the reads before are kept.")
                                .arg(path)),
             qPrintable(r.err));
    const QByteArray text = fileText(path);
    QCOMPARE(text.size(), 83 + 2 * 24);
    QVERIFY(text.endsWith('\n'));
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
    QTest::newRow("--vcd without --watch") << QStringList{"io", "--vcd", "x.vcd"};
    QTest::newRow("--quiet without --watch") << QStringList{"io", "--quiet"};
    QTest::newRow("one file for both") << QStringList{"io", "--watch", "--vcd", "x", "--csv", "x"};
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
