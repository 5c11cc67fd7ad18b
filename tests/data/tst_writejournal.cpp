// The journal of writes as stored: what an entry keeps, the order it is listed in, the bound on
// each controller's entries, and what it makes of things others put in its folder.
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

QByteArray contents(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A journal in a folder of its own, holding entry 1.
struct JournalFixture {
    QTemporaryDir dir;
    StoredSettings settings;
    WriteJournal journal{settings};
    QString outside = dir.filePath(QStringLiteral("outside.qvd")); // a file not of the journal

    JournalFixture() {
        QDir().mkpath(dir.filePath(QStringLiteral("journal")));
        journal.setFolder(dir.filePath(QStringLiteral("journal")));
        JournalEntry e = writeTo(QStringLiteral("/dev/pts/91"), 1);
        journal.record(e);
        QFile f(outside);
        if (f.open(QIODevice::WriteOnly))
            f.write("not the journal's\n");
    }
    QString path(const QString &name) const { return journal.folder() + u'/' + name; }
    QList<int> listed() const {
        QList<int> numbers;
        for (const JournalEntry &e : journal.entries())
            numbers.append(e.number);
        return numbers;
    }
};

} // namespace

class TestWriteJournal : public QObject {
    Q_OBJECT
private slots:
    void keepsTheLastOfEachController();
    void stepsOverWhatIsInTheWay_data();
    void stepsOverWhatIsInTheWay();
    void onlyItsOwnNamesAreEntries_data();
    void onlyItsOwnNamesAreEntries();
    void controlCharactersReadBackExactly();
    void underWayWhileHeld();
};

// N+1 writes to one controller keep its newest N; another controller's entries stay, each field
// as it was recorded (a reason's line break too).
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
             (QStringList{first.port, first.device, first.serial, first.reason}));
    QCOMPARE(back.ended, JournalEntry::Ended::RestartFailed);
    QCOMPARE(back.before, first.before);
    QCOMPARE(back.after, first.after);
    QCOMPARE(back.changes().size(), 2);
    // Three files an entry, nothing else left behind.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 3 * all.size());
}

void TestWriteJournal::stepsOverWhatIsInTheWay_data() {
    QTest::addColumn<QString>("name"); // of entry 2's files
    QTest::addColumn<QString>("kind"); // link (to the outside file), broken-link, folder, file
    QTest::newRow("link at the before-file") << "000002.before.qvd"
                                             << "link";
    QTest::newRow("broken link at the after-file") << "000002.after.qvd"
                                                   << "broken-link";
    QTest::newRow("folder at the after-file") << "000002.after.qvd"
                                              << "folder";
    QTest::newRow("file at the before-file") << "000002.before.qvd"
                                             << "file";
}

// The next entry is stored under the next number that is free, never through a link and never
// blocked for good; what lay in the way stays as it was.
void TestWriteJournal::stepsOverWhatIsInTheWay() {
    QFETCH(QString, name);
    QFETCH(QString, kind);
    JournalFixture f;
    const QString in = f.path(name);
    if (kind == QLatin1String("link"))
        QVERIFY(QFile::link(f.outside, in));
    else if (kind == QLatin1String("broken-link"))
        QVERIFY(QFile::link(f.dir.filePath(QStringLiteral("nowhere")), in));
    else if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(in));
    else
        QVERIFY(QFile::copy(f.outside, in));
    // A symbolic link on Linux; on Windows QFile::link makes a shortcut, a file of its own.
    const bool madeLink = QFileInfo(in).isSymLink();

    for (qint16 vel1 : {2, 3}) {
        JournalEntry e = writeTo(QStringLiteral("/dev/pts/91"), vel1);
        QVERIFY(f.journal.record(e).isDone());
    }

    QCOMPARE(f.listed(), (QList<int>{4, 3, 1}));
    QCOMPARE(f.journal.entry(3)->before.Vel1, 2);
    QCOMPARE(contents(f.outside), QByteArray("not the journal's\n"));
    QCOMPARE(QFileInfo(in).isSymLink(), madeLink);
    QVERIFY(madeLink || QFileInfo::exists(in));
}

void TestWriteJournal::onlyItsOwnNamesAreEntries_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("headerBytes"); // the copy of entry 1's header grown to this size
    QTest::newRow("the largest int") << "2147483647.entry" << 0;
    QTest::newRow("no leading zeros") << "1.entry" << 0;
    QTest::newRow("a header of 1 MB") << "000002.entry" << 1024 * 1024;
}

// A copy of a good entry under another name (with its data files), or one whose header is far
// too long, is no entry: not listed, not counted for the next number.
void TestWriteJournal::onlyItsOwnNamesAreEntries() {
    QFETCH(QString, name);
    QFETCH(int, headerBytes);
    JournalFixture f;
    QByteArray header = contents(f.path(QStringLiteral("000001.entry")));
    if (headerBytes > 0)
        header += "serial=" + QByteArray(headerBytes - header.size() - 8, 'x') + '\n';
    const QString stem = name.chopped(6);
    QFile planted(f.path(name));
    QVERIFY(planted.open(QIODevice::WriteOnly) && planted.write(header) == header.size());
    planted.close();
    for (const char *which : {".before.qvd", ".after.qvd"})
        QVERIFY(QFile::copy(f.path(QStringLiteral("000001") + QLatin1String(which)),
                            f.path(stem + QLatin1String(which))));

    QCOMPARE(f.listed(), QList<int>{1});
    JournalEntry e = writeTo(QStringLiteral("/dev/pts/91"), 2);
    QVERIFY(f.journal.record(e).isDone());
    QCOMPARE(f.listed(), (QList<int>{headerBytes > 0 ? 3 : 2, 1}));
}

// A device path or port with a line break or another control character is kept exactly, so that
// it names its controller again.
void TestWriteJournal::controlCharactersReadBackExactly() {
    JournalFixture f;
    const QString device = QStringLiteral("/dev/pts/7\nCOM%41\t\x01");
    JournalEntry e = writeTo(device, 5);
    QVERIFY(f.journal.record(e).isDone());
    const QList<JournalEntry> mine = f.journal.entries(device);
    QCOMPARE(mine.size(), 1);
    QCOMPARE(mine[0].device, device);
    QCOMPARE(mine[0].port, device);
}

// An entry begun is listed under way, with the blocks sent so far, while its write holds it, and
// interrupted once nothing does (its program ended mid-write).
void TestWriteJournal::underWayWhileHeld() {
    JournalFixture f;
    JournalEntry e = writeTo(QStringLiteral("/dev/pts/91"), 2);
    e.blocks = 5;
    {
        JournalRecord record;
        QVERIFY(f.journal.begin(e, record).isDone());
        record.sent(2);
        const std::optional<JournalEntry> going = f.journal.entry(e.number);
        QVERIFY(going);
        QCOMPARE(going->ended, JournalEntry::Ended::UnderWay);
        QCOMPARE(going->blocksSent, 2);
        QCOMPARE(going->before, e.before);
    }
    QCOMPARE(f.journal.entry(e.number)->ended, JournalEntry::Ended::Interrupted);
}

QV_TEST_CORE_MAIN(TestWriteJournal)
#include "tst_writejournal.moc"
