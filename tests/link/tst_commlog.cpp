// The communication log: what the link records of each exchange against the simulated controller,
// and how the log keeps, hands out and saves its lines.
#include "LinkFixture.h"
#include "base/ResText.h"
#include "link/CommLog.h"
#include "support/FileSizeLimit.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

Q_DECLARE_METATYPE(QList<SimFault>)

namespace {

// The lines without their time stamps, which must be the time of day to the millisecond.
QStringList withoutTimes(const QStringList &lines) {
    static const QRegularExpression stamp(
        QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d (.*)$"));
    QStringList out;
    for (const QString &line : lines) {
        const QRegularExpressionMatch m = stamp.match(line);
        if (!m.hasMatch())
            return {QStringLiteral("no time stamp: ") + line};
        out.append(m.captured(1));
    }
    return out;
}

} // namespace

class TestCommLog : public QObject {
    Q_OBJECT
private slots:
    void init() {
        clearStoredSettings();
        setLangOffset(10000);
    }

    void exchange_data();
    void exchange();
    void otherBlockIsAWrongPrefix();
    void listenerGetsTheSameLines();
    void keepsTheNewestLines();
    void saveAndClear();
};

// Each row: the simulator's faults, then the log of one communication check on a port that the
// exchange opens (and keeps, OccupyPort).
void TestCommLog::exchange_data() {
    QTest::addColumn<QList<SimFault>>("faults");
    QTest::addColumn<QStringList>("expected");
    const QString opened = QStringLiteral("*** {dev} opened");
    const QString sent = QStringLiteral("--> 0CM1<CR><LF>");

    QTest::newRow("good") << QList<SimFault>{}
                          << QStringList{opened, sent, QStringLiteral("<-- 0CM1<CR><LF>"),
                                         QStringLiteral("=== good")};
    SimFault silent;
    silent.silent = true;
    // Logged when it happens, before the port is closed and the message shown.
    QTest::newRow("timeout") << QList<SimFault>{silent}
                             << QStringList{opened, sent, QStringLiteral("=== timeout"),
                                            QStringLiteral("*** {dev} closed")};
    SimFault error;
    error.errorCode = QStringLiteral("03");
    QTest::newRow("error reply")
        << QList<SimFault>{error}
        << QStringList{opened, sent, QStringLiteral("<-- 0%%03<CR><LF>"),
                       QStringLiteral("=== error reply 03 Communication command error")};
    // The recovery exchange shows too; the end is judged by the first reply.
    SimFault longer;
    longer.lengthDelta = 1;
    longer.times = 1;
    QTest::newRow("wrong length")
        << QList<SimFault>{longer}
        << QStringList{opened,
                       sent,
                       QStringLiteral("<-- 0CM10<CR><LF>"),
                       QStringLiteral("--> 0CM0<CR><LF>"),
                       QStringLiteral("<-- 0CM0<CR><LF>"),
                       QStringLiteral("=== wrong length (7 characters, 6 expected)")};
    SimFault foreign;
    foreign.prefix = QStringLiteral("0XY");
    foreign.times = 1;
    QTest::newRow("wrong prefix") << QList<SimFault>{foreign}
                                  << QStringList{opened,
                                                 sent,
                                                 QStringLiteral("<-- 0XY1<CR><LF>"),
                                                 QStringLiteral("--> 0CM0<CR><LF>"),
                                                 QStringLiteral("<-- 0CM0<CR><LF>"),
                                                 QStringLiteral("=== wrong prefix")};
}

void TestCommLog::exchange() {
    QFETCH(QList<SimFault>, faults);
    QFETCH(QStringList, expected);
    LinkFixture f;
    for (const SimFault &fault : faults)
        f.sim.addFault(fault);
    CommLog log;
    // The end goes into the log when it happens, before a message keeps the user reading.
    bool endAfterMessage = false;
    log.setListener([&](const QString &line) {
        endAfterMessage |= line.contains(QLatin1String(" === ")) && !f.prompt.shown.isEmpty();
    });
    f.link->setLog(&log);

    f.check();

    QVERIFY(!endAfterMessage);
    for (QString &line : expected)
        line.replace(QStringLiteral("{dev}"), f.sim.devicePath());
    QCOMPARE(withoutTimes(log.lines()), expected);
}

// A block read answered with another block's data begins with the right command but not as
// asked: the log calls it a wrong prefix, as the user's message does.
void TestCommLog::otherBlockIsAWrongPrefix() {
    LinkFixture f;
    SimFault otherBlock;
    otherBlock.match = QStringLiteral("0RD02");
    otherBlock.overwriteAt = 3;
    otherBlock.overwrite = "04";
    f.sim.addFault(otherBlock);
    CommLog log;
    f.link->setLog(&log);

    QCOMPARE(f.controller().readBlock(QStringLiteral("02")).result.failure,
             OpResult::Failure::Malformed);

    QCOMPARE(withoutTimes(log.lines()).last(), QStringLiteral("=== wrong prefix"));
}

void TestCommLog::listenerGetsTheSameLines() {
    LinkFixture f;
    CommLog log;
    QStringList heard;
    log.setListener([&heard](const QString &line) { heard.append(line); });
    f.link->setLog(&log);

    QVERIFY(f.controller().readBlock(QStringLiteral("02")).isDone());
    f.link->ClosePort();
    f.link->setLog(nullptr);
    f.check();

    QCOMPARE(heard.size(), 5);
    QCOMPARE(heard, log.lines());
    QVERIFY(heard.last().endsWith(QStringLiteral(" closed")));
}

void TestCommLog::keepsTheNewestLines() {
    CommLog log;
    for (int i = 0; i < CommLog::Capacity + 3; ++i)
        log.add(CommLog::Event::Sent, QByteArray::number(i));
    const QStringList lines = withoutTimes(log.lines());
    QCOMPARE(lines.size(), CommLog::Capacity);
    QCOMPARE(lines.first(), QStringLiteral("--> 3"));
    QCOMPARE(lines.last(), QStringLiteral("--> %1").arg(CommLog::Capacity + 2));
}

void TestCommLog::saveAndClear() {
    CommLog log;
    log.add(CommLog::Event::Received, QByteArray("0CM1\r\n\x01", 7));
    log.add(CommLog::Event::Ended, {}, QStringLiteral("タイムアウト"));
    QCOMPARE(withoutTimes(log.lines()), (QStringList{QStringLiteral("<-- 0CM1<CR><LF><01>"),
                                                     QStringLiteral("=== タイムアウト")}));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));

    QVERIFY(log.saveTo(path));
    QVERIFY(!log.saveTo(dir.filePath(QStringLiteral("missing/log.txt"))));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(),
             (log.lines().join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());

    // A disk that fills up part-way: the save fails and the file saved before stays whole.
    file.close();
    const QByteArray saved = readBytes(path);
    for (int i = 0; i < 200; ++i)
        log.add(CommLog::Event::Sent, QByteArray("0RD02\r\n"));
    {
        const FileSizeLimit full(1024);
        QVERIFY(full.isSet());
        QVERIFY(!log.saveTo(path));
    }
    QCOMPARE(readBytes(path), saved);

    log.clear();
    QVERIFY(log.lines().isEmpty());
}

QV_TEST_CORE_MAIN(TestCommLog)
#include "tst_commlog.moc"
