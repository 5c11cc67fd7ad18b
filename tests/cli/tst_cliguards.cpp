// What qvpc-cli refuses to trust by name: a second spelling of a device in use, a write that
// cannot be journalled, a recording through a link, an address with control characters; what it
// shows of text from outside (controller, journal, settings); and a journal whose numbers are
// taken up.
#include "CliRunner.h"
#include "base/StoredSettings.h"
#include "data/WriteJournal.h"
#include "link/PortMap.h"
#include "sim/ControllerSimulator.h"
#include "support/TestEnvironment.h"
#include "transfer/TransferFixture.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

bool anyWrite(const QStringList &lines) {
    return std::any_of(lines.begin(), lines.end(),
                       [](const QString &l) { return l.startsWith(QLatin1String("0WD")); });
}

// The entry's header with one of its lines replaced.
void rewriteHeader(int number, const QByteArray &key, const QByteArray &value) {
    QFile header(WriteJournal::defaultFolder() +
                 QStringLiteral("/%1.entry").arg(number, 6, 10, QLatin1Char('0')));
    QVERIFY(header.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = header.readAll().split('\n');
    header.close();
    for (QByteArray &line : lines) {
        if (line.startsWith(key + '='))
            line = key + '=' + value;
    }
    QVERIFY(header.open(QIODevice::WriteOnly | QIODevice::Truncate));
    header.write(lines.join('\n'));
}

} // namespace

class TestCliGuards : public QObject {
    Q_OBJECT
private slots:
    void init() {
        clearStoredSettings();
        QDir(WriteJournal::defaultFolder()).removeRecursively();
    }

    void secondSpellingRefused_data();
    void secondSpellingRefused();
    void journalledOrNotSent_data();
    void journalledOrNotSent();
    void journalNumbersNeverRunOut_data();
    void journalNumbersNeverRunOut();
    void unreadableHistory();
    void controlCharactersShown_data();
    void controlCharactersShown();
    void namesTakenWhole_data();
    void namesTakenWhole();
    void recordingByTheFileItself_data();
    void recordingByTheFileItself();
};

void TestCliGuards::secondSpellingRefused_data() {
    QTest::addColumn<bool>("link"); // else a ".." path
    QTest::newRow("a symbolic link") << true;
    QTest::newRow("a .. path") << false;
}

// While a write holds the line, the same device under another spelling is refused as in use,
// naming the holder, and nothing of that run reaches the controller.
void TestCliGuards::secondSpellingRefused() {
    QFETCH(bool, link);
    ControllerSimulator sim, alone;
    const QString device = sim.devicePath();
    QTemporaryDir dir;
    const QString other = link ? dir.filePath(QStringLiteral("feeder"))
                               : QStringLiteral("/dev/pts/../pts/") + QFileInfo(device).fileName();
    if (link)
        QVERIFY(QFile::link(device, other));
    SimFault late;
    late.match = QStringLiteral("0WD04");
    late.delayMs = 3000;
    sim.addFault(late);
    const QStringList set{QStringLiteral("--yes"), QStringLiteral("set"),
                          QStringLiteral("Vel1=20")};
    QProcess first;
    first.start(QStringLiteral(QVPC_CLI_PATH), English + onDevice(device, set));
    QTRY_VERIFY_WITH_TIMEOUT(!sim.receivedLines().filter(late.match).isEmpty(), 20000);
    const qint64 holder = first.processId();

    const CliResult second = runCli(English + onDevice(other, {"--yes", "set", "Acc1=4"}));
    QTRY_VERIFY_WITH_TIMEOUT(first.state() == QProcess::NotRunning, 20000);

    QCOMPARE(second.exitCode, 1);
    QVERIFY2(second.err.contains(
                 QStringLiteral("in use by another program (qvpc-cli, process %1)").arg(holder)),
             qPrintable(second.err));
    QCOMPARE(first.exitCode(), 0);
    QCOMPARE(runCli(onDevice(alone.devicePath(), set)).exitCode, 0);
    QCOMPARE(sim.receivedLines(), alone.receivedLines());
}

void TestCliGuards::journalledOrNotSent_data() {
    QTest::addColumn<QStringList>("run");
    QTest::addColumn<bool>("folderBlocked"); // else the controller refuses a block read
    QTest::addColumn<QString>("told");
    const QString readFailed = QStringLiteral("The controller could not be read before the write, "
                                              "so the write could not be journalled; nothing was "
                                              "written.");
    const QString cannotStore =
        QStringLiteral("The journal of writes cannot be stored in %1; nothing was written.")
            .arg(WriteJournal::defaultFolder());
    QTest::newRow("write --journal, read refused")
        << QStringList{"--journal", "write", "%1"} << false << readFailed;
    QTest::newRow("write --journal, journal unwritable")
        << QStringList{"--journal", "write", "%1"} << true << cannotStore;
    QTest::newRow("set, journal unwritable")
        << QStringList{"set", "Vel1=20", "--restart"} << true << cannotStore;
}

// A write asked to be journalled (set always is) that cannot be stops before its first block: the
// reason, exit status 1, no block sent, so the controller as it was.
void TestCliGuards::journalledOrNotSent() {
    QFETCH(QStringList, run);
    QFETCH(bool, folderBlocked);
    QFETCH(QString, told);
    ControllerSimulator sim;
    QTemporaryDir dir;
    QvData data = factoryData();
    data.Vel1 = 20;
    run.replaceInStrings(QStringLiteral("%1"), writeQvFile(dir, data, QStringLiteral("new.qvd")));
    const QString folder = WriteJournal::defaultFolder();
    if (folderBlocked) {
        QVERIFY(blockFolder(folder));
    } else {
        SimFault refused;
        refused.match = QStringLiteral("0RD04");
        refused.errorCode = QStringLiteral("03");
        sim.addFault(refused);
    }

    const CliResult r = runCli(English + onDevice(sim.devicePath(), QStringList{"--yes"} + run));
    QFile::remove(folder);

    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(QStringLiteral("Fail to Write data.")) && r.err.contains(told),
             qPrintable(r.err));
    QVERIFY2(!anyWrite(sim.receivedLines()), qPrintable(sim.receivedLines().join(u' ')));
    QCOMPARE(journalEntries().size(), 0);
}

void TestCliGuards::journalNumbersNeverRunOut_data() {
    QTest::addColumn<bool>("planted"); // else a thousand names in the way
    QTest::newRow("an entry planted at the last number") << true;
    QTest::newRow("a thousand names in the way") << false;
}

// Neither a valid entry at the highest number nor names in the way stop the journal: the next
// write is journalled and listed first.
void TestCliGuards::journalNumbersNeverRunOut() {
    QFETCH(bool, planted);
    ControllerSimulator sim;
    QCOMPARE(runCli(onDevice(sim.devicePath(), {"--yes", "set", "Vel1=20"})).exitCode, 0);
    const QDir folder(WriteJournal::defaultFolder());
    for (const char *part : {".entry", ".before.qvd", ".after.qvd"}) {
        if (planted)
            QVERIFY(
                QFile::copy(folder.filePath(QStringLiteral("000001") + QLatin1String(part)),
                            folder.filePath(QStringLiteral("999999999") + QLatin1String(part))));
        for (int n = 2; !planted && n < 1002; ++n) {
            QFile junk(folder.filePath(
                QStringLiteral("%1%2").arg(n, 6, 10, QLatin1Char('0')).arg(QLatin1String(part))));
            QVERIFY(junk.open(QIODevice::WriteOnly));
        }
    }

    const CliResult r = runCli(English + onDevice(sim.devicePath(), {"--yes", "set", "Vel1=21"}));

    QCOMPARE(r.exitCode, 0);
    QVERIFY2(!r.err.contains(QStringLiteral("journal")), qPrintable(r.err));
    const QList<JournalEntry> entries = journalEntries();
    QCOMPARE(entries.size(), planted ? 3 : 2);
    QCOMPARE(int(entries.first().after.Vel1), 21);
    QCOMPARE(entries.first().number, planted ? 2 : 1002);
}

// A journal folder that cannot be read is said to be so, not listed as empty.
void TestCliGuards::unreadableHistory() {
    const QString folder = WriteJournal::defaultFolder();
    QVERIFY(blockFolder(folder));

    const CliResult r = runCli(English + QStringList{"history"});
    QFile::remove(folder);

    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, QStringLiteral("The journal of writes in %1 cannot be read.\n").arg(folder));
}

void TestCliGuards::controlCharactersShown_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QStringList>("run");
    QTest::newRow("a controller's version reply") << "version" << QStringList{"version"};
    QTest::newRow("a journal header's port") << "journal" << QStringList{"history"};
    QTest::newRow("a port map entry") << "map" << QStringList{"ports"};
}

// Control characters from outside reach the terminal as escapes, never as themselves; JSON
// escapes them its own way.
void TestCliGuards::controlCharactersShown() {
    QFETCH(QString, from);
    QFETCH(QStringList, run);
    ControllerSimulator sim;
    const QString clear = QStringLiteral("\x1b[J");
    if (from == QLatin1String("version")) {
        sim.model().setVersion(clear);
    } else if (from == QLatin1String("journal")) {
        QCOMPARE(runCli(onDevice(sim.devicePath(), {"--yes", "set", "Vel1=20"})).exitCode, 0);
        rewriteHeader(1, "port", "%1B[J%07");
    } else {
        PortMap::setEntry(3, QStringLiteral("/dev/tty\x1b[J"));
    }
    if (from != QLatin1String("map"))
        run = onDevice(sim.devicePath(), run);

    const CliResult r = runCli(English + run);
    const CliResult json = runCli(English + QStringList{"--json"} + run);

    QVERIFY2(r.out.contains(QStringLiteral("\\x1b[J")), qPrintable(r.out));
    QVERIFY2(!r.out.contains(u'\x1b') && !r.out.contains(u'\x07'), qPrintable(r.out));
    QVERIFY2(json.out.contains(QStringLiteral("\\u001b[J"), Qt::CaseInsensitive),
             qPrintable(json.out));
    QVERIFY(!json.out.contains(u'\x1b'));
}

void TestCliGuards::namesTakenWhole_data() {
    QTest::addColumn<QString>("device");
    QTest::newRow("a URL with a CR at its end") << "tcp://127.0.0.1:4001\r";
    QTest::newRow("a URL with a TAB at its end") << "rfc2217://127.0.0.1:4001\t";
    QTest::newRow("a URL after a LF") << "\ntcp://127.0.0.1:4001";
    QTest::newRow("a byte order mark inside a URL") << "tcp://127.0.0.1:\ufeff4001";
    QTest::newRow("a device with a LF in it") << "/dev/tty\nS0";
}

// A control or format character anywhere in a port's name is a usage error: nothing is sent,
// nothing journalled.
void TestCliGuards::namesTakenWhole() {
    QFETCH(QString, device);
    const CliResult r = runCli(English + QStringList{"--device", device, "--yes", "set", "Vel1=2"});
    QCOMPARE(r.exitCode, 2);
    // One line: the name's line breaks and tabs shown as escapes.
    QVERIFY2(r.err.section(u'\n', 0, 0)
                 .contains(QStringLiteral("a control character is no part of a port's name")),
             qPrintable(r.err));
    QVERIFY(!QFileInfo::exists(WriteJournal::defaultFolder()));
}

void TestCliGuards::recordingByTheFileItself_data() {
    QTest::addColumn<QStringList>("recordings"); // %1: a folder holding the file "kept.vcd"
    QTest::newRow("a link to another file") << QStringList{"--vcd", "%1/link.vcd"};
    QTest::newRow("one file under two spellings")
        << QStringList{"--vcd", "%1/kept.vcd", "--csv", "%1/./kept.vcd"};
}

// A recording through a link, or two recordings in one file, is a usage error before anything
// is sent; the file stays as it was.
void TestCliGuards::recordingByTheFileItself() {
    QFETCH(QStringList, recordings);
    ControllerSimulator sim;
    QTemporaryDir dir;
    const QString kept = dir.filePath(QStringLiteral("kept.vcd"));
    QVERIFY(writeBytes(kept, "kept\n"));
    QVERIFY(QFile::link(kept, dir.filePath(QStringLiteral("link.vcd"))));
    recordings.replaceInStrings(QStringLiteral("%1"), dir.path());

    const CliResult r = runCli(onDevice(
        sim.devicePath(), QStringList{"--yes", "io", "--watch", "--count", "2"} + recordings));

    QCOMPARE(r.exitCode, 2);
    QCOMPARE(sim.receivedLines(), QStringList());
    QCOMPARE(readBytes(kept), QByteArray("kept\n"));
}

QV_TEST_CORE_MAIN(TestCliGuards)
#include "tst_cliguards.moc"
