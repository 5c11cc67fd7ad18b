// The window's journal of writes against the simulated controller: the option, what a write
// sends with it on and off and what it records (or says it could not), the Write History window
// and its restore; the write's preview, the other write option of that tab.
#include "MainWindowFixture.h"
#include "base/MessageLines.h"
#include "data/QvItems.h"
#include "data/Verification.h"
#include "data/WriteJournal.h"
#include "gui/frmHistory.h"
#include "gui/frmOptions.h"
#include "sim/ControllerSimulator.h"
#include "support/TestEnvironment.h"
#include "transfer/TransferFixture.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>

#include <functional>

namespace {

// The window on a simulated controller it has read, the port let go after each operation.
struct JournalWindow : MainWindowFixture {
    ControllerSimulator sim;

    JournalWindow() {
        link.setDeviceOverride(sim.devicePath());
        settings.PortNo = 1;
        settings.OccupyPort = false;
        window->OnlineDataRead();
        sim.clearReceived();
    }

    // The journal and the write's preview as the user sets them, in the options dialog's last
    // tab.
    void chooseJournal(bool on, bool preview = false) {
        QVERIFY(withDialog<frmOptions>(QStringLiteral("mnuViewOption"), [&](frmOptions &d) {
            d.chkJournal->setChecked(on);
            d.chkWritePreview->setChecked(preview);
            d.cmdOK->click();
        }));
    }

    // Position 1's pulses changed on screen and written with the button, the restart agreed to.
    void writeEdited() {
        control<QLineEdit>(QStringLiteral("txtPosi1"))->setText(QStringLiteral("1234"));
        prompt.answers = {MsgAnswer::Ok, MsgAnswer::Ok};
        control<QPushButton>(QStringLiteral("cmdLoadtoCt"))->click();
    }

    // Opens View > Write History and lets work() act on it while it is shown.
    bool withHistory(const std::function<void(frmHistory &)> &work) {
        return withDialog<frmHistory>(QStringLiteral("mnuViewHistory"), work);
    }
};

QString cell(const QTableWidget *table, int row, int column) {
    const QTableWidgetItem *item = table->item(row, column);
    return item ? item->text() : QStringLiteral("(none)");
}

} // namespace

class TestJournalWindow : public QObject {
    Q_OBJECT
private slots:
    void init() {
        clearStoredSettings();
        QDir(WriteJournal::defaultFolder()).removeRecursively();
    }

    void windowWrite_data();
    void windowWrite();
    void historyRestoresBefore();
};

void TestJournalWindow::windowWrite_data() {
    QTest::addColumn<bool>("journal");
    QTest::addColumn<bool>("storable"); // false: the journal's folder is a file
    QTest::addColumn<bool>("preview");  // the write shows what it will change first
    QTest::newRow("journal off") << false << true << false;
    QTest::newRow("journal on") << true << true << false;
    QTest::newRow("journal on, cannot be stored") << true << false << false;
    QTest::newRow("preview, journal off") << false << true << true;
    QTest::newRow("preview, journal on: one read for both") << true << true << true;
}

// Off, the write sends what it always has; on, a read comes before the blocks and the entry holds
// the controller's values before and the screen's after (the parameters, not shown, untouched).
// A journal that cannot be stored stops the write before its blocks: the write's failure, then
// why. With the preview the read comes before the write's question, and the journal takes its
// values.
void TestJournalWindow::windowWrite() {
    QFETCH(bool, journal);
    QFETCH(bool, storable);
    QFETCH(bool, preview);
    JournalWindow f;
    f.chooseJournal(journal, preview);
    QCOMPARE(StoredSettings::readText(QStringLiteral("Journal"), {}),
             journal ? QStringLiteral("1") : QStringLiteral("0"));
    QCOMPARE(StoredSettings::readText(QStringLiteral("WritePreview"), {}),
             preview ? QStringLiteral("1") : QStringLiteral("0"));
    f.prompt.answerTo[Question::WriteChanges] = MsgAnswer::Ok;
    const QString folder = f.session.journal.folder();
    if (!storable)
        QVERIFY(blockFolder(folder));

    f.writeEdited();
    if (!storable)
        QFile::remove(folder);

    const QStringList read = journal ? readLines() : QStringList();
    if (!storable) {
        QCOMPARE(f.prompt.texts().mid(f.prompt.texts().size() - 2),
                 (QStringList{ResText(217), ResText(1681).arg(folder)}));
        QVERIFY(f.window->DataChanged());
        QCOMPARE(f.sim.receivedLines(), QStringList{Check} + read);
        QVERIFY(f.session.journal.entries().isEmpty());
        return;
    }
    QCOMPARE(f.prompt.texts().last(), ResText(220));
    QVERIFY(!f.window->DataChanged());
    QStringList blocks;
    for (const char *b : {"02", "04", "05", "03", "1F"})
        blocks.append(QStringLiteral("0WD") + QLatin1String(b) + f.sim.model().block(b));
    const QStringList restart{Check, QStringLiteral("0CM3")};
    const QStringList sent =
        preview ? readLines() + QStringList{Check, Check} + blocks + restart
                : QStringList{Check} + read + QStringList{Check} + blocks + restart;
    QCOMPARE(
        f.prompt.texts().first(),
        preview
            ? joinLines({ResText(1821),
                         ResText(1823).arg(ItemLabel(*qvItemNamed("Pulse1"))).arg(400).arg(1234)})
            : ResText(216));
    QTRY_COMPARE(f.sim.receivedLines(), sent);
    const QList<JournalEntry> entries = f.session.journal.entries();
    QCOMPARE(entries.size(), journal && storable ? 1 : 0);
    // The history says why it is empty while the journal is off, and where to turn it on.
    bool emptyShown = false, offShown = false;
    QVERIFY(f.withHistory([&](frmHistory &d) {
        emptyShown = d.lblEmpty->isVisible();
        offShown = d.lblJournalOff->isVisible();
        QCOMPARE(d.lblJournalOff->text(), ResText(1641));
    }));
    QCOMPARE(emptyShown, entries.isEmpty());
    QCOMPARE(offShown, !journal);
    if (entries.isEmpty())
        return;
    QvData after = factoryData();
    after.Pulse1 = 1234;
    QCOMPARE(entries[0].before, factoryData());
    QCOMPARE(entries[0].after, after);
    QCOMPARE(entries[0].port, f.sim.devicePath());
    QCOMPARE(entries[0].ended, JournalEntry::Ended::Restarted);
}

// The history lists the write with its changed item; Restore puts the values from before it on
// the screen as unsaved data.
void TestJournalWindow::historyRestoresBefore() {
    JournalWindow f;
    f.settings.KeepJournal = true;
    f.writeEdited();
    QVERIFY(!f.window->DataChanged());

    QStringList entryRow, itemRow;
    QVERIFY(f.withHistory([&](frmHistory &d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("書き込み履歴"));
        QCOMPARE(d.tblEntries->rowCount(), 1);
        for (int column : {0, 2, 3, 4})
            entryRow.append(cell(d.tblEntries, 0, column));
        for (int column : {0, 1, 2})
            itemRow.append(cell(d.tblItems, 0, column));
        QCOMPARE(d.tblItems->rowCount(), 1);
        d.cmdRestore->click();
    }));

    QCOMPARE(entryRow, (QStringList{"1", f.sim.devicePath(), ResText(1587), "1"}));
    QCOMPARE(itemRow, (QStringList{ItemLabel(qvItem(&QvData::Pulse1)), "400", "1234"}));
    QCOMPARE(f.control<QLineEdit>(QStringLiteral("txtPosi1"))->text(), QStringLiteral("400"));
    QVERIFY(f.window->DataChanged());
    QCOMPARE(f.window->statusBar()->currentMessage(), ResText(1585).arg(1));
}

QV_TEST_MAIN(TestJournalWindow)
#include "tst_journalwindow.moc"
