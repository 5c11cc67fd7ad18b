// The journal of writes as stored: what an entry keeps, the order it is listed in and the bound
// on each controller's entries.
#include "base/StoredSettings.h"
#include "data/WriteJournal.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QTemporaryDir>

namespace {

JournalEntry writeTo(const QString &device, qint16 vel1) {
    JournalEntry e;
    e.time = QDateTime::currentDateTimeUtc();
    e.port = device;
    e.device = device;
    e.before.Vel1 = vel1;
    e.after.Vel1 = qint16(vel1 + 1);
    return e;
}

} // namespace

class TestWriteJournal : public QObject {
    Q_OBJECT
private slots:
    void keepsTheLastOfEachController();
};

// N+1 writes to one controller keep its newest N; another controller's entries stay, each field
// as it was recorded (a reason's line break on one line).
void TestWriteJournal::keepsTheLastOfEachController() {
    QTemporaryDir dir;
    const StoredSettings settings;
    WriteJournal journal(settings);
    journal.setFolder(dir.path());
    const QString a = QStringLiteral("/dev/pts/91");
    JournalEntry first = writeTo(QStringLiteral("tcp://127.0.0.1:4001"), 1);
    first.port = QStringLiteral("COM2");
    first.serial = QStringLiteral("A10K3");
    first.parameters = true;
    first.after.HomingPulse = 70000;
    first.ended = JournalEntry::Ended::RestartFailed;
    first.reason = QStringLiteral("timeout\r\nagain");
    QVERIFY(journal.record(first).isDone());
    for (int i = 0; i <= WriteJournal::KeptPerController; ++i) {
        JournalEntry e = writeTo(a, qint16(i));
        QVERIFY(journal.record(e).isDone());
    }

    const QList<JournalEntry> ofA = journal.entries(a);
    QCOMPARE(ofA.size(), WriteJournal::KeptPerController);
    QCOMPARE(ofA.first().before.Vel1, WriteJournal::KeptPerController);
    QCOMPARE(ofA.last().before.Vel1, 1);
    const QList<JournalEntry> all = journal.entries();
    QCOMPARE(all.size(), WriteJournal::KeptPerController + 1);
    const JournalEntry &back = all.last();
    QCOMPARE(back.number, first.number);
    QCOMPARE(back.time, first.time);
    QCOMPARE((QStringList{back.port, back.device, back.serial, back.reason}),
             (QStringList{first.port, first.device, first.serial, "timeout  again"}));
    QCOMPARE(back.ended, JournalEntry::Ended::RestartFailed);
    QCOMPARE(back.before, first.before);
    QCOMPARE(back.after, first.after);
    QCOMPARE(back.changes().size(), 2);
    // Three files an entry, nothing else left behind.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 3 * all.size());
}

QV_TEST_CORE_MAIN(TestWriteJournal)
#include "tst_writejournal.moc"
