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
    void storedAsWritten();
    void keepsTheLastOfEachController();
};

// Every field comes back as it was recorded, a reason with a line break on one line.
void TestWriteJournal::storedAsWritten() {
    QTemporaryDir dir;
    const StoredSettings settings;
    WriteJournal journal(settings);
    journal.setFolder(dir.filePath(QStringLiteral("journal")));
    JournalEntry e = writeTo(QStringLiteral("/dev/ttyUSB0"), 5);
    e.port = QStringLiteral("COM2");
    e.serial = QStringLiteral("A10K3");
    e.parameters = true;
    e.after.HomingPulse = 70000;
    e.ended = JournalEntry::Ended::RestartFailed;
    e.reason = QStringLiteral("timeout\r\nagain");

    QVERIFY(journal.record(e).isDone());

    const std::optional<JournalEntry> back = journal.entry(e.number);
    QVERIFY(back);
    QCOMPARE(back->time, e.time);
    QCOMPARE(back->port, e.port);
    QCOMPARE(back->device, e.device);
    QCOMPARE(back->serial, e.serial);
    QCOMPARE(back->parameters, true);
    QCOMPARE(back->ended, JournalEntry::Ended::RestartFailed);
    QCOMPARE(back->reason, QStringLiteral("timeout  again"));
    QCOMPARE(back->before, e.before);
    QCOMPARE(back->after, e.after);
    QCOMPARE(back->changes().size(), 2);
}

// N+1 writes to one controller keep its newest N; another controller's entries stay.
void TestWriteJournal::keepsTheLastOfEachController() {
    QTemporaryDir dir;
    const StoredSettings settings;
    WriteJournal journal(settings);
    journal.setFolder(dir.path());
    const QString a = QStringLiteral("/dev/pts/91");
    const QString b = QStringLiteral("tcp://127.0.0.1:4001");
    JournalEntry first = writeTo(b, 1);
    QVERIFY(journal.record(first).isDone());
    for (int i = 0; i <= WriteJournal::KeptPerController; ++i) {
        JournalEntry e = writeTo(a, qint16(i));
        QVERIFY(journal.record(e).isDone());
    }
    JournalEntry last = writeTo(b, 2);
    QVERIFY(journal.record(last).isDone());

    const QList<JournalEntry> ofA = journal.entries(a);
    QCOMPARE(ofA.size(), WriteJournal::KeptPerController);
    QCOMPARE(ofA.first().before.Vel1, WriteJournal::KeptPerController);
    QCOMPARE(ofA.last().before.Vel1, 1);
    const QList<JournalEntry> all = journal.entries();
    QCOMPARE(all.size(), WriteJournal::KeptPerController + 2);
    QCOMPARE(all.first().number, last.number);
    QCOMPARE(all.last().number, first.number);
    // Three files an entry, nothing else left behind.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 3 * all.size());
}

QV_TEST_CORE_MAIN(TestWriteJournal)
#include "tst_writejournal.moc"
