// qvpc-cli's journal of writes, run as a process against simulated controllers on ptys: which
// writes are journalled and what that costs on the wire, the history, and the undo that writes
// an entry's before-values back.
#include "CliRunner.h"
#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "data/QvItems.h"
#include "data/WriteJournal.h"
#include "sim/ControllerSimulator.h"
#include "support/TestEnvironment.h"
#include "transfer/TransferFixture.h"

#include <QDir>
#include <QRegularExpression>

#include <array>
#include <csignal>

namespace {

// A history line with its time left out, checked to be one.
QString withoutTime(const QString &line) {
    QStringList fields = line.split(u'\t');
    if (fields.size() < 5 || fields.size() > 6 ||
        !QDateTime::fromString(fields[1], Qt::ISODate).isValid())
        return QStringLiteral("not a history line: ") + line;
    fields[1] = QStringLiteral("TIME");
    return fields.join(u'\t');
}

QStringList historyOf(const QString &out) {
    QStringList lines;
    for (const QString &line : out.split(u'\n', Qt::SkipEmptyParts))
        lines.append(withoutTime(line));
    return lines;
}

} // namespace

class TestCliJournal : public QObject {
    Q_OBJECT
private slots:
    void init() {
        clearStoredSettings();
        QDir(WriteJournal::defaultFolder()).removeRecursively();
    }

    void writeJournalledWhenOn_data();
    void writeJournalledWhenOn();
    void setHistoryUndo();
    void entryAndUndoPreview_data();
    void entryAndUndoPreview();
    void undoRefused_data();
    void undoRefused();
    void interruptedWrite_data();
    void interruptedWrite();

private:
    QTemporaryDir m_dir;
};

void TestCliJournal::writeJournalledWhenOn_data() {
    QTest::addColumn<QString>("stored"); // "Journal" in [Settings]; empty: not there
    QTest::addColumn<QStringList>("flags");
    QTest::addColumn<bool>("journalled");
    QTest::newRow("off by default") << QString() << QStringList() << false;
    QTest::newRow("stored off") << "0" << QStringList() << false;
    QTest::newRow("stored on") << "1" << QStringList() << true;
    QTest::newRow("--journal") << "0" << QStringList{"--journal"} << true;
    QTest::newRow("--no-journal over stored on") << "1" << QStringList{"--no-journal"} << false;
}

// With the journal off, write sends exactly what it always has; with it on, the controller is
// read once more before the blocks, and the entry holds its values before and the file's after.
void TestCliJournal::writeJournalledWhenOn() {
    QFETCH(QString, stored);
    QFETCH(QStringList, flags);
    QFETCH(bool, journalled);
    if (!stored.isEmpty())
        StoredSettings::writeText(QStringLiteral("Journal"), stored);
    ControllerSimulator sim;
    QvData file = factoryData();
    file.Vel1 = 20, file.Pulse2 = 500;

    const CliResult r =
        runCli(flags + onDevice(sim.devicePath(), {QStringLiteral("--yes"), QStringLiteral("write"),
                                                   writeQvFile(m_dir, file, "new.qvd"),
                                                   QStringLiteral("--restart")}));

    QCOMPARE(r.exitCode, 0);
    // The blocks as the controller took them into effect on the restart.
    QStringList write{Check, Check};
    for (const char *b : {"02", "04", "05", "03", "1F"})
        write.append(QStringLiteral("0WD") + QLatin1String(b) + sim.model().block(b));
    write << Check << QStringLiteral("0CM3");
    const QStringList expected = journalled ? write.mid(0, 1) + readLines() + write.mid(1) : write;
    // The restart is not answered; it may still be on its way when the program has ended.
    QTRY_COMPARE(sim.receivedLines(), expected);
    const QList<JournalEntry> entries = journalEntries();
    QCOMPARE(entries.size(), journalled ? 1 : 0);
    if (journalled) {
        QCOMPARE(entries[0].device, sim.devicePath());
        QCOMPARE(entries[0].ended, JournalEntry::Ended::Restarted);
        QCOMPARE(entries[0].before, factoryData());
        QCOMPARE(entries[0].after, file);
    }
}

// set is journalled without a read of its own; history lists it; undo writes the before-values
// back (the controller's blocks as they were) and is journalled in turn. Another controller's
// writes stay out of a history and an undo named by --device.
void TestCliJournal::setHistoryUndo() {
    std::array<ControllerSimulator, 2> sims;
    const QString a = sims[0].devicePath();
    const QString b = sims[1].devicePath();
    QMap<QString, QString> original;
    for (const char *block : {"02", "04", "05", "00", "01"})
        original[block] = sims[0].model().block(block);
    const QStringList yes{QStringLiteral("--yes")};
    QCOMPARE((runCli(yes + onDevice(a, {"set", "Vel1=20", "Pulse2=900", "--restart"})).exitCode),
             0);
    // The read of set is the journal's: the write follows at once.
    QStringList heads;
    for (const QString &line : sims[0].receivedLines().mid(0, 9))
        heads.append(line.left(5));
    QCOMPARE(heads, (readLines() + QStringList{Check, Check, QStringLiteral("0WD02")}));
    QCOMPARE((runCli(yes + onDevice(b, {"set", "HomingPulse=500", "--restart"})).exitCode), 0);

    CliResult r = runCli(onDevice(a, {QStringLiteral("history")}));
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(historyOf(r.out), QStringList{QStringLiteral("1\tTIME\t%1\trestarted\t2").arg(a)});
    r = runCli({QStringLiteral("history")});
    QCOMPARE(historyOf(r.out), (QStringList{QStringLiteral("2\tTIME\t%1\trestarted\t1").arg(b),
                                            QStringLiteral("1\tTIME\t%1\trestarted\t2").arg(a)}));

    sims[0].clearReceived();
    r = runCli(yes + onDevice(a, {QStringLiteral("undo"), QStringLiteral("--restart")}));
    QCOMPARE(r.exitCode, 0);
    for (auto it = original.cbegin(); it != original.cend(); ++it)
        QCOMPARE(sims[0].model().block(it.key()), it.value());
    // Only the position blocks, as the set wrote; the other controller keeps its own write.
    QVERIFY(!sims[0].receivedLines().join(u' ').contains(QStringLiteral("0WD00")));
    QVERIFY(sims[1].model().block("00") != original["00"]);

    const QList<JournalEntry> undone = journalEntries(a);
    QCOMPARE(undone.size(), 2);
    QCOMPARE(undone[0].number, 3);
    QCOMPARE(undone[0].ended, JournalEntry::Ended::Restarted);
    QCOMPARE(undone[0].before, undone[1].after);
    QCOMPARE(undone[0].after, undone[1].before);
}

void TestCliJournal::entryAndUndoPreview_data() {
    // After a set of Vel1=20 and Pulse2=900 (entry 1), restarted, and a second set of the values
    // from before it, restarted or not (empty: none). In out: %1 Vel1 before, %2 Pulse2 before.
    QTest::addColumn<QString>("restored");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::addColumn<bool>("writes"); // else only the read goes out (nothing for history)
    QTest::newRow("history ENTRY")
        << "" << QStringList{"history", "1"} << 0
        << "Position 1 - VEL\t%1\t20\nPosition 2 - Position(pulse)\t%2\t900\n"
        << QString() << false;
    QTest::newRow("undo --dry-run")
        << "" << QStringList{"undo", "--dry-run"} << 1
        << "Position 1 - VEL\t20\t%1\nPosition 2 - Position(pulse)\t900\t%2\n"
        << QString() << false;
    QTest::newRow("undo, nothing to change")
        << "--restart" << QStringList{"--yes", "undo", "1", "--restart"} << 0 << QString()
        << "The controller already holds the values from before journal entry 1; nothing was "
           "written.\n"
        << false;
    // The second set waits for a restart that would bring its values: the undo writes.
    QTest::newRow("undo after a write not restarted")
        << "--no-restart" << QStringList{"--yes", "undo", "1"} << 0 << QString() << QString()
        << true;
}

// What an entry changed, and what an undo would change, without writing; an undo with nothing
// to change writes nothing, restarts nothing and is not journalled.
void TestCliJournal::entryAndUndoPreview() {
    QFETCH(QString, restored);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(bool, writes);
    ControllerSimulator sim;
    const QvData before = factoryData();
    const auto set = [&sim](const QString &values) {
        return runCli(onDevice(sim.devicePath(), QStringList{"--yes", "set"} + values.split(u' ')))
            .exitCode;
    };
    QCOMPARE(set(QStringLiteral("Vel1=20 Pulse2=900 --restart")), 0);
    if (!restored.isEmpty())
        QCOMPARE(set(QStringLiteral("Vel1=%1 Pulse2=%2").arg(before.Vel1).arg(before.Pulse2) +
                     (restored == "--restart" ? " --restart" : "")),
                 0);
    const qsizetype kept = journalEntries().size();
    sim.clearReceived();

    const CliResult r = runCli(English + onDevice(sim.devicePath(), arguments));

    QCOMPARE(r.out, out.isEmpty() ? out : out.arg(before.Vel1).arg(before.Pulse2));
    QVERIFY2(r.err.endsWith(err), qPrintable(r.err));
    QCOMPARE(r.exitCode, exitCode);
    const QStringList sent = sim.receivedLines();
    QCOMPARE(sent.mid(0, 6), arguments.first() == "history" ? QStringList() : readLines());
    QCOMPARE(sent.join(u' ').contains("0WD"), writes);
    QCOMPARE(journalEntries().size(), kept + (writes ? 1 : 0));
}

void TestCliJournal::undoRefused_data() {
    // %1: the controller named, %2: the one that was written
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");
    QTest::newRow("no such entry")
        << QStringList{"--device", "%1", "undo", "7"} << "There is no journal entry 7.";
    QTest::newRow("another controller's entry") << QStringList{"--device", "%1", "undo", "1"}
                                                << "Journal entry 1 was a write to %2, not to %1.";
    QTest::newRow("nothing journalled for it")
        << QStringList{"--device", "%1", "undo"} << "The journal holds no write to %1.";
    QTest::newRow("a number that leads nowhere")
        << QStringList{"--port", "7", "undo"} << "The journal holds no write to COM7.";
    QTest::newRow("history of no such entry")
        << QStringList{"--device", "%1", "history", "7"} << "There is no journal entry 7.";
    QTest::newRow("history of another controller's entry")
        << QStringList{"--device", "%1", "history", "1"}
        << "Journal entry 1 was a write to %2, not to %1.";
}

// An undo or a history that names no entry of this controller sends nothing.
void TestCliJournal::undoRefused() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    std::array<ControllerSimulator, 2> sims;
    QCOMPARE((runCli(onDevice(sims[1].devicePath(), {"--yes", "set", "Vel1=20"})).exitCode), 0);
    for (QString *text : {&error, &arguments.first(), &arguments[1]}) {
        text->replace(QStringLiteral("%1"), sims[0].devicePath());
        text->replace(QStringLiteral("%2"), sims[1].devicePath());
    }

    const CliResult r = runCli(English + QStringList{"--yes"} + arguments);

    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, error + u'\n');
    QCOMPARE(sims[0].receivedLines(), QStringList());
}

void TestCliJournal::interruptedWrite_data() {
    QTest::addColumn<int>("signal");
    QTest::newRow("Ctrl+C") << SIGINT;
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("killed") << SIGKILL;
}

// A set stopped while the controller takes its second block (it answers late): Ctrl+C or SIGTERM
// let that block complete and send nothing more, a kill ends the program there. Either way the
// entry was stored before the first block: history lists it as interrupted with the blocks sent,
// and undo takes it back.
void TestCliJournal::interruptedWrite() {
    QFETCH(int, signal);
    ControllerSimulator sim;
    const QString device = sim.devicePath();
    QMap<QString, QString> original;
    for (const char *block : {"02", "04", "05", "00", "01"})
        original[block] = sim.model().block(block);
    SimFault late;
    late.match = QStringLiteral("0WD04");
    late.delayMs = 1500;
    sim.addFault(late);
    QProcess cli;
    // Once only, and only at the program itself (a pid of 0 would be this process's group).
    const QMetaObject::Connection stopper =
        QObject::connect(&sim, &ControllerSimulator::lineReceived, &cli, [&](const QString &line) {
            if (line.startsWith(late.match) && cli.processId() > 0) {
                ::kill(pid_t(cli.processId()), signal);
                QObject::disconnect(stopper);
            }
        });
    cli.start(QStringLiteral(QVPC_CLI_PATH),
              English + onDevice(device, {"--yes", "set", "Vel1=20", "Pulse2=900", "--restart"}));
    QTRY_VERIFY_WITH_TIMEOUT(cli.state() == QProcess::NotRunning, 20000);

    if (signal == SIGKILL) {
        QCOMPARE(cli.exitStatus(), QProcess::CrashExit);
    } else {
        QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
        QCOMPARE(cli.exitCode(), 1);
        const QString err = QString::fromUtf8(cli.readAllStandardError());
        QVERIFY2(err.endsWith(QStringLiteral("The write was interrupted. Blocks written: 02, 04. "
                                             "Blocks not written: 05, 03, 1F. The controller was "
                                             "not restarted.\n")),
                 qPrintable(err));
    }
    QVERIFY(sim.receivedLines().last().startsWith(late.match));
    // The late answer to the killed program goes out before anything else is answered.
    QTest::qWait(late.delayMs);
    const CliResult history = runCli({QStringLiteral("history")});
    QCOMPARE(historyOf(history.out),
             QStringList{QStringLiteral("1\tTIME\t%1\tinterrupted\t2\t2/5").arg(device)});

    const CliResult undo = runCli(onDevice(device, {"--yes", "undo", "--restart"}));
    QVERIFY2(undo.exitCode == 0, qPrintable(undo.err + sim.receivedLines().join(u' ')));
    for (auto it = original.cbegin(); it != original.cend(); ++it)
        QCOMPARE(sim.model().block(it.key()), it.value());
}

QV_TEST_CORE_MAIN(TestCliJournal)
#include "tst_clijournal.moc"
