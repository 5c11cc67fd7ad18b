// qvpc-cli run as a process against the simulated controller on a pty: exit status, what it
// prints, the files it writes and the lines the controller received.
#include "CliRunner.h"
#include "base/StoredSettings.h"
#include "data/QvDataFile.h"
#include "link/PortMap.h"
#include "sim/ControllerSimulator.h"
#include "support/TestEnvironment.h"
#include "transfer/TransferFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <sys/stat.h>

namespace {

const QStringList ReadLines = readLines();

// Position 1 as the controller holds it in block "02": VEL 30, ACC 3, DEC 2, pulse 1000, pause 7.
const QString EditedBlock02 = QStringLiteral("7803020003E807FF");

// The data files of the factory data and of the edited position 1, as the window saves them.
const QByteArray FactoryFile = "QV-R7\r\n10,3,2,400,5\r\n10,3,2,5\r\n10,3,2,200,5\r\n10,3,2,5\r\n"
                               "8,300,6,2\r\n8,200,100,0\r\n100,15,20,0\r\n";
const QByteArray EditedFile = "QV-R7\r\n30,3,2,1000,7\r\n30,3,2,7\r\n10,3,2,200,5\r\n10,3,2,5\r\n"
                              "8,300,6,2\r\n8,200,100,0\r\n100,15,20,0\r\n";

} // namespace

class TestCli : public QObject {
    Q_OBJECT
private slots:
    void init() { clearStoredSettings(); }

    void readToFile_data();
    void readToFile();
    void languageFromLocale_data();
    void languageFromLocale();
    void readPrintsItems_data();
    void readPrintsItems();
    void readKeepsExistingFile();
    void readIntoMissingFolder();
    void settingsFileNotRegular();
    void globalOptionsAnywhere();
    void fileFaults_data();
    void fileFaults();
    void usageErrors_data();
    void usageErrors();
    void help_data();
    void help();

private:
    QTemporaryDir m_dir;
};

void TestCli::readToFile_data() {
    QTest::addColumn<QString>("block02");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("factory data") << QString() << FactoryFile;
    QTest::newRow("position 1 changed") << EditedBlock02 << EditedFile;
}

// The five blocks are read and land in the file as the window would save them.
void TestCli::readToFile() {
    QFETCH(QString, block02);
    QFETCH(QByteArray, expected);
    ControllerSimulator sim;
    if (!block02.isEmpty())
        sim.model().setBlock(QStringLiteral("02"), block02);
    const QString path = m_dir.filePath(QStringLiteral("backup.qvd"));
    QFile::remove(path);

    const CliResult r =
        runCli(onDevice(sim.devicePath(), {QStringLiteral("read"), QStringLiteral("-o"), path}));

    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.err, QString());
    QCOMPARE(r.out, QString());
    QCOMPARE(sim.receivedLines(), ReadLines);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), expected);
}

void TestCli::readPrintsItems_data() {
    QTest::addColumn<QString>("storedLanguage");
    QTest::addColumn<QStringList>("lang");
    QTest::addColumn<QStringList>("lines");
    const QStringList ja{QStringLiteral("位置１\t速度\t10"),
                         QStringLiteral("位置２\t位置（ﾊﾟﾙｽ）\t200"),
                         QStringLiteral("ｾﾝｻﾊﾟﾗﾒｰﾀ\t供給動作ｶｳﾝﾀ\t8"),
                         QStringLiteral("原点復帰ﾊﾟﾗﾒｰﾀ\t原点復帰ﾊﾟﾙｽ\t300")};
    const QStringList en{QStringLiteral("Position 1\tVEL\t10"),
                         QStringLiteral("Position 2\tPosition(pulse)\t200"),
                         QStringLiteral("Sensor parameters\tSupply counter\t8"),
                         QStringLiteral("Homing parameters\tHoming Pulse\t300")};
    QTest::newRow("stored Japanese") << QString() << QStringList() << ja;
    QTest::newRow("stored English") << QStringLiteral("2") << QStringList() << en;
    QTest::newRow("--lang en over Japanese")
        << QStringLiteral("1") << QStringList{QStringLiteral("--lang"), QStringLiteral("en")} << en;
    QTest::newRow("--lang ja over English")
        << QStringLiteral("2") << QStringList{QStringLiteral("--lang"), QStringLiteral("ja")} << ja;
}

// Without a stored language the messages follow the locale: the first of LC_ALL, LC_MESSAGES
// and LANG that is set, Japanese for ja*; a stored language and --lang decide over it.
void TestCli::languageFromLocale_data() {
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QString>("storedLanguage");
    QTest::addColumn<QStringList>("lang");
    QTest::addColumn<bool>("japanese");
    const QStringList none{"LC_ALL=", "LC_MESSAGES=", "LANG="};
    const auto with = [&none](const QStringList &set) { return none + set; };
    QTest::newRow("LANG ja") << with({"LANG=ja_JP.UTF-8"}) << QString() << QStringList() << true;
    QTest::newRow("LANG C") << with({"LANG=C"}) << QString() << QStringList() << false;
    QTest::newRow("LC_MESSAGES over LANG") << with({"LANG=en_US.UTF-8", "LC_MESSAGES=ja_JP.eucJP"})
                                           << QString() << QStringList() << true;
    QTest::newRow("LC_ALL over both")
        << with({"LANG=ja_JP.UTF-8", "LC_MESSAGES=ja_JP.UTF-8", "LC_ALL=C.UTF-8"}) << QString()
        << QStringList() << false;
    QTest::newRow("stored Japanese over an English locale")
        << with({"LANG=en_GB.UTF-8"}) << QStringLiteral("1") << QStringList() << true;
    QTest::newRow("--lang over the locale")
        << with({"LANG=ja_JP.UTF-8"}) << QString() << QStringList{"--lang", "en"} << false;
}

void TestCli::languageFromLocale() {
    QFETCH(QStringList, environment);
    QFETCH(QString, storedLanguage);
    QFETCH(QStringList, lang);
    QFETCH(bool, japanese);
    if (!storedLanguage.isEmpty())
        StoredSettings::writeText(QStringLiteral("Language"), storedLanguage);
    const CliResult r =
        runCli(lang + QStringList{"--device", "/nonexistent/tty", "read"}, 20000, environment);
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.startsWith(japanese ? QStringLiteral("通信エラー！")
                                       : QStringLiteral("Communication Error!")),
             qPrintable(r.err));
}

// Without -o every item is printed with its names, in the language chosen.
void TestCli::readPrintsItems() {
    QFETCH(QString, storedLanguage);
    QFETCH(QStringList, lang);
    QFETCH(QStringList, lines);
    if (!storedLanguage.isEmpty())
        StoredSettings::writeText(QStringLiteral("Language"), storedLanguage);
    ControllerSimulator sim;

    const CliResult r = runCli(lang + onDevice(sim.devicePath(), {QStringLiteral("read")}));

    QCOMPARE(r.exitCode, 0);
    const QStringList printed = r.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(printed.size(), 22);
    for (const QString &line : lines)
        QVERIFY2(printed.contains(line), qPrintable(line));
}

// An existing file is replaced only with --yes; without it nothing is even read.
void TestCli::readKeepsExistingFile() {
    ControllerSimulator sim;
    sim.model().setBlock(QStringLiteral("02"), EditedBlock02);
    const QString path = writeQvFile(m_dir, factoryData(), QStringLiteral("kept.qvd"));

    CliResult r =
        runCli(onDevice(sim.devicePath(), {QStringLiteral("read"), QStringLiteral("-o"), path}));
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err,
             path + QStringLiteral(" は既にあります。置き換えるには --yes を指定してください。\n"));
    QCOMPARE(sim.receivedLines(), QStringList());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QvDataFile::format(factoryData()));
    file.close();

    r = runCli(QStringList{QStringLiteral("--yes")} +
               onDevice(sim.devicePath(), {QStringLiteral("read"), QStringLiteral("-o"), path}));
    QCOMPARE(r.exitCode, 0);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), EditedFile);
}

// A file that cannot be written: the message, then the file's full path and the system's reason.
void TestCli::readIntoMissingFolder() {
    ControllerSimulator sim;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("missing/kept.qvd"));
    const CliResult r =
        runCli(onDevice(sim.devicePath(), {QStringLiteral("read"), QStringLiteral("-o"), path}));
    QCOMPARE(r.exitCode, 1);
    const QStringList lines = r.err.split('\n');
    QCOMPARE(lines.value(0), QStringLiteral("データの保存を中止しました。"));
    QCOMPARE(lines.value(1), QStringLiteral("ファイル：") + path);
    QVERIFY2(lines.value(2).startsWith(QStringLiteral("理由：")) && lines.value(2).size() > 3,
             qPrintable(r.err));
    QVERIFY(!QFileInfo::exists(path));
}

// --port N and the stored "PortNo" reach the device through the port map.
// A FIFO in the settings file's place would block every read of it: the run goes on with the
// defaults, says so, and leaves the FIFO as it is.
void TestCli::settingsFileNotRegular() {
    const QString settings = StoredSettings::filePath();
    QFile::remove(settings);
    QVERIFY(QDir().mkpath(QFileInfo(settings).path()));
    QCOMPARE(::mkfifo(QFile::encodeName(settings).constData(), 0600), 0);
    ControllerSimulator sim;
    sim.model().setVersion(QStringLiteral("1A7"));

    const CliResult r = runCli(onDevice(sim.devicePath(), {"--lang", "en", "version"}));
    const bool stillFifo = QFileInfo(settings).exists() && !QFileInfo(settings).isFile();
    QFile::remove(settings);

    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QStringLiteral("1A7\n"));
    QVERIFY2(r.err.startsWith(
                 QStringLiteral("The settings file %1 is not a regular file").arg(settings)),
             qPrintable(r.err));
    QVERIFY(stillFifo);
}

// Global options after the command work as before it; --version needs no command.
void TestCli::globalOptionsAnywhere() {
    ControllerSimulator sim;
    const CliResult r = runCli({QStringLiteral("read"), QStringLiteral("--device"),
                                sim.devicePath(), QStringLiteral("--lang=en")});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(sim.receivedLines(), ReadLines);

    const CliResult version = runCli({QStringLiteral("ports"), QStringLiteral("--version")});
    QCOMPARE(version.exitCode, 0);
    QCOMPARE(version.out, QStringLiteral("qvpc-cli 1.4.0\n"));
}

void TestCli::fileFaults_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QString>("message");
    const QString foreignJa =
        QStringLiteral("QVデータファイルではありません。\n読み込みを中止します。\n");
    const QString brokenJa = QStringLiteral(
        "データの読み込みでエラーが発生しました。\nデータの読み込みを中止します。\n");
    const QString foreignEn =
        QStringLiteral("This is not QV data file.\nOpening data file is stopped.\n");
    const QString brokenEn =
        QStringLiteral("Error occured while opening file.\nOpening file was stopped.\n");
    const QString foreign = QStringLiteral("name,value\r\n1,2\r\n");
    const QString cut = QStringLiteral("QV-R7\r\n10,3,2,400,5\r\n");
    for (const char *command : {"show", "write", "verify"}) {
        const QString c = QLatin1String(command);
        QTest::newRow(qPrintable(c + QStringLiteral(" missing")))
            << c << QString() << "ja" << brokenJa;
        QTest::newRow(qPrintable(c + QStringLiteral(" foreign")))
            << c << foreign << "ja" << foreignJa;
    }
    QTest::newRow("show cut short") << "show" << cut << "ja" << brokenJa;
    QTest::newRow("write missing, English") << "write" << QString() << "en" << brokenEn;
    QTest::newRow("verify foreign, English") << "verify" << foreign << "en" << foreignEn;
}

// A file that cannot be taken ends the command with the file message; nothing goes out.
void TestCli::fileFaults() {
    QFETCH(QString, command);
    QFETCH(QString, content);
    QFETCH(QString, lang);
    QFETCH(QString, message);
    ControllerSimulator sim;
    const QString path = m_dir.filePath(QStringLiteral("fault.qvd"));
    QFile::remove(path);
    if (!content.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content.toLatin1());
    }

    const CliResult r =
        runCli(QStringList{QStringLiteral("--yes"), QStringLiteral("--lang"), lang} +
               onDevice(sim.devicePath(), {command, path}));

    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, message);
    QCOMPARE(r.out, QString());
    QCOMPARE(sim.receivedLines(), QStringList());
}

void TestCli::usageErrors_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("command");
    // The command the help hint names: the known command on the line, if any.
    auto row = [](const char *name, const QString &line, const char *reason) {
        const QStringList words = line.split(u' ', Qt::SkipEmptyParts);
        QString command;
        for (const char *known : {"read", "write", "show", "verify", "move", "mode"}) {
            if (words.contains(QLatin1String(known)))
                command = QLatin1String(known);
        }
        QTest::newRow(name) << words << QString::fromUtf8(reason) << command;
    };
    row("no command", QString(), "No command given.");
    row("unknown command", QStringLiteral("erase"), "Unknown command: erase");
    row("unknown global option", QStringLiteral("--force read"), "Unknown option 'force'.");
    row("global option after the command without its value", QStringLiteral("read --port"),
        "--port needs a number from 1 to 32.");
    row("write without a file", QStringLiteral("write"), "FILE is missing.");
    row("show with two files", QStringLiteral("show a.qvd b.qvd"), "Too many arguments.");
    row("read with a file", QStringLiteral("read a.qvd"), "Too many arguments.");
    row("--restart on verify", QStringLiteral("verify a.qvd --restart"),
        "Unknown option 'restart'.");
    row("-o without a name", QStringLiteral("read -o"), "Missing value after '-o'.");
    row("port 0", QStringLiteral("--port 0 read"), "--port needs a number from 1 to 32.");
    row("port 33", QStringLiteral("--port 33 read"), "--port needs a number from 1 to 32.");
    row("port not a number", QStringLiteral("--port COM1 read"),
        "--port needs a number from 1 to 32.");
    row("port and device", QStringLiteral("--port 1 --device /dev/ttyUSB0 read"),
        "Several controllers can only be written, verified, read with get or changed with set.");
    row("language", QStringLiteral("--lang de read"), "--lang is ja or en.");
    row("move to 3", QStringLiteral("move 3"), "POSITION is one of 1|2|repeat, not 3.");
    row("a count for a single move", QStringLiteral("move 1 --count 2"),
        "--count and --csv go with repeat.");
    row("a count of none", QStringLiteral("move repeat --count 0"),
        "--count needs a number of 1 or more.");
    row("mode without a word", QStringLiteral("mode"), "MODE is missing.");
}

// A usage error: exit status 2, the reason and where help is on the error stream, nothing done;
// with --json also one document on standard output that says so.
void TestCli::usageErrors() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, reason);
    QFETCH(QString, command);
    ControllerSimulator sim;
    PortMap::setEntry(1, sim.devicePath());

    const CliResult r = runCli(arguments);

    QCOMPARE(r.exitCode, 2);
    QCOMPARE(r.out, QString());
    const QString hint = command.isEmpty() ? QString() : command + u' ';
    QCOMPARE(r.err, QStringLiteral("qvpc-cli: %1\nTry 'qvpc-cli %2--help'.\n").arg(reason, hint));

    const CliResult json = runCli(QStringList{QStringLiteral("--json")} + arguments);
    QCOMPARE(json.exitCode, 2);
    QCOMPARE(json.err, r.err);
    const QJsonObject doc = QJsonDocument::fromJson(json.out.toUtf8()).object();
    QCOMPARE(doc.value(QStringLiteral("command")).toString(), command);
    QCOMPARE(doc.value(QStringLiteral("result")).toObject(),
             (QJsonObject{{QStringLiteral("status"), QStringLiteral("refused")},
                          {QStringLiteral("failure"), QStringLiteral("usage")},
                          {QStringLiteral("message"), reason}}));
    QCOMPARE(sim.receivedLines(), QStringList());
}

void TestCli::help_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("usage");
    QTest::addColumn<QString>("mentions");
    const auto row = [](const char *name, const QString &arguments, const QString &usage,
                        const QString &mentions) {
        QTest::newRow(name) << arguments.split(u' ') << "Usage: qvpc-cli " + usage << mentions;
    };
    row("program", "--help", "[options] COMMAND ...",
        "  write    Write a QV data file to the controller");
    row("read", "read --help", "[global options] read [options]", "--output <FILE>");
    row("write", "write -h", "[global options] write [options] FILE",
        "answered OK only with --restart");
    row("verify", "verify --help", "[global options] verify [options] FILE", "--parameters");
    row("move", "move --help", "[global options] move [options] 1|2|repeat", "SIGTERM");
    // Help asked for in front of the command describes the command and does nothing else.
    row("--help before read", "--help read", "[global options] read [options]", "--output <FILE>");
    row("--yes --help before write", "--yes --help write a.qvd --restart",
        "[global options] write [options] FILE", "answered OK only with --restart");
}

void TestCli::help() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, usage);
    QFETCH(QString, mentions);
    ControllerSimulator sim;
    PortMap::setEntry(1, sim.devicePath());
    const CliResult r = runCli(arguments);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.err, QString());
    QCOMPARE(r.out.section(u'\n', 0, 0), usage);
    QVERIFY2(r.out.contains(mentions), qPrintable(r.out));
    QCOMPARE(sim.receivedLines(), QStringList());
}

QV_TEST_CORE_MAIN(TestCli)
#include "tst_cli.moc"
