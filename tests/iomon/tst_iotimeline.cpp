// The I/O monitor's timeline and recordings: the traces and counts of the shown minute for a
// scripted series of port bytes, the exact VCD and CSV text of a short series, and a recording on
// the simulated controller that ends with a failed read (a full disk: tst_cliio).
#include "IoFixture.h"
#include "base/ResText.h"
#include "iomon/IoRecordFile.h"
#include "iomon/IoRecorder.h"
#include "iomon/IoTimeline.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

// A series of reads as "ms:AA.BB.CC" (port bytes in hexadecimal), "|" where monitoring stopped.
struct Read {
    qint64 ms;
    IoPorts ports;
};
QList<std::optional<Read>> series(const QString &script) {
    QList<std::optional<Read>> reads;
    for (const QString &token : script.split(u' ', Qt::SkipEmptyParts)) {
        if (token == QLatin1String("|")) {
            reads.append(std::nullopt);
            continue;
        }
        const QStringList bytes = token.section(u':', 1).split(u'.');
        reads.append(Read{token.section(u':', 0, 0).toLongLong(),
                          {bytes[0].toInt(nullptr, 16), bytes[1].toInt(nullptr, 16),
                           bytes[2].toInt(nullptr, 16)}});
    }
    return reads;
}

// A trace as "from-to:on|off ...".
QString traceText(const QList<IoTimeline::Segment> &segments) {
    QStringList parts;
    for (const IoTimeline::Segment &s : segments)
        parts << QStringLiteral("%1-%2:%3").arg(s.fromMs).arg(s.toMs).arg(s.on ? "on" : "off");
    return parts.join(u' ');
}

QByteArray contents(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

const QByteArray VcdHead = "$comment QV PC-Software I/O monitor, 1 = red lamp $end\n"
                           "$timescale 1 ms $end\n"
                           "$scope module io $end\n"
                           "$var wire 1 ! run $end\n"
                           "$var wire 1 \" continuous $end\n"
                           "$var wire 1 # pause $end\n"
                           "$var wire 1 $ tip_sensor $end\n"
                           "$var wire 1 % rail_sensor $end\n"
                           "$var wire 1 & stopped $end\n"
                           "$var wire 1 ' take_out $end\n"
                           "$var wire 1 ( escape $end\n"
                           "$var wire 1 ) no_work $end\n"
                           "$upscope $end\n"
                           "$enddefinitions $end\n";
const QByteArray CsvHead =
    "time_s,run,continuous,pause,tip_sensor,rail_sensor,stopped,take_out,escape,no_work\n";

// A recorder on the simulated feeder, its file in a folder of its own.
struct RecorderFixture : IoFixture {
    QTemporaryDir dir;
    IoRecorder recorder{monitor, prompt};
    QString path = dir.filePath(QStringLiteral("io.csv"));

    // Records from the start of monitoring until the recording ends.
    void recordUntilItEnds() {
        QVERIFY(recorder.start(path, IoRecordFile::Format::Csv));
        monitor.toggleMonitoring();
        QTRY_VERIFY_WITH_TIMEOUT(!recorder.isRecording(), 30000);
    }
};

} // namespace

class TestIoTimeline : public QObject {
    Q_OBJECT
private slots:
    void init() { clearStoredSettings(); }

    void traceAndCounts_data();
    void traceAndCounts();
    void recordedText_data();
    void recordedText();
    void failedReadEndsRecordingWhole();
    void unwritableFileIsTold();
};

void TestIoTimeline::traceAndCounts_data() {
    QTest::addColumn<QString>("reads");
    QTest::addColumn<int>("signal");
    QTest::addColumn<QString>("trace");
    QTest::addColumn<int>("switchedOn");
    QTest::addColumn<double>("share");
    // Escape solenoid: port B bit 7, on when set.
    QTest::newRow("one read: nothing known yet")
        << "0:00.80.00" << int(IoSignals::Escape) << "" << 0 << 0.0;
    QTest::newRow("flickering, neighbours of one state joined")
        << "0:00.00.00 200:00.80.00 400:00.00.00 600:00.80.00 800:00.80.00 1000:00.00.00"
        << int(IoSignals::Escape) << "0-200:off 200-400:on 400-600:off 600-1000:on" << 2 << 0.6;
    QTest::newRow("on from the first read is no switch")
        << "0:00.80.00 200:00.80.00 400:00.00.00" << int(IoSignals::Escape) << "0-400:on" << 0
        << 1.0;
    // Tip work sensor: port A bit 4, on when clear.
    QTest::newRow("an input is on while its bit is clear")
        << "0:10.00.00 200:00.00.00 500:10.00.00" << int(IoSignals::TipSensor)
        << "0-200:off 200-500:on" << 1 << 0.6;
    QTest::newRow("the minute scrolls: older time cut off")
        << "0:00.80.00 30000:00.00.00 70000:00.80.00 80000:00.80.00" << int(IoSignals::Escape)
        << "20000-30000:on 30000-70000:off 70000-80000:on" << 1 << 1.0 / 3;
    QTest::newRow("a switch before the shown minute is not counted")
        << "0:00.00.00 1000:00.80.00 61500:00.80.00" << int(IoSignals::Escape) << "1500-61500:on"
        << 0 << 1.0;
    QTest::newRow("a stop leaves the time until the next start unknown")
        << "0:00.00.00 200:00.80.00 | 1000:00.80.00 1200:00.00.00 1400:00.80.00"
        << int(IoSignals::Escape) << "0-200:off 1000-1200:on 1200-1400:off" << 2 << 1.0 / 3;
}

void TestIoTimeline::traceAndCounts() {
    QFETCH(QString, reads);
    QFETCH(int, signal);
    QFETCH(QString, trace);
    QFETCH(int, switchedOn);
    QFETCH(double, share);
    IoTimeline timeline;
    for (const auto &read : series(reads)) {
        if (read)
            timeline.add(read->ms, read->ports);
        else
            timeline.breakRun();
    }
    QCOMPARE(traceText(timeline.trace(signal)), trace);
    QCOMPARE(timeline.switchedOn(signal), switchedOn);
    QVERIFY2(qAbs(timeline.onShare(signal) - share) < 1e-9,
             qPrintable(QString::number(timeline.onShare(signal))));
}

void TestIoTimeline::recordedText_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("reads");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("old"); // a file at the path before; none when empty
    // The feeder's clock need not start at 0: the recording counts from its first read.
    const QString reads = "5000:08.40.06 5200:08.40.06 5400:08.C0.06 5600:28.C0.04 5800:28.C0.04";
    QTest::newRow("VCD: the states at 0, then only changes, the last read's time at the end")
        << int(IoRecordFile::Format::Vcd) << reads
        << VcdHead + "#0\n$dumpvars\n0!\n0\"\n1#\n1$\n1%\n0&\n1'\n0(\n1)\n$end\n"
                     "#400\n1(\n"
                     "#600\n1!\n1&\n"
                     "#800\n"
        << QByteArray();
    QTest::newRow("VCD: a change at the last read needs no closing time")
        << int(IoRecordFile::Format::Vcd) << "0:00.00.00 1200:00.80.00"
        << VcdHead + "#0\n$dumpvars\n1!\n1\"\n1#\n1$\n1%\n0&\n0'\n0(\n0)\n$end\n#1200\n1(\n"
        << QByteArray();
    QTest::newRow("CSV: one row a read, seconds with milliseconds")
        << int(IoRecordFile::Format::Csv) << reads
        << CsvHead + "0.000,0,0,1,1,1,0,1,0,1\n"
                     "0.200,0,0,1,1,1,0,1,0,1\n"
                     "0.400,0,0,1,1,1,0,1,1,1\n"
                     "0.600,1,0,1,1,1,1,1,1,1\n"
                     "0.800,1,0,1,1,1,1,1,1,1\n"
        << QByteArray();
    QTest::newRow("CSV: past a minute")
        << int(IoRecordFile::Format::Csv) << "0:00.00.00 61005:FF.FF.FF"
        << CsvHead + "0.000,1,1,1,1,1,0,0,0,0\n"
                     "61.005,0,0,0,0,0,1,1,1,1\n"
        << QByteArray();
    // The old file is replaced whole, however much longer it was.
    QTest::newRow("CSV over an old recording")
        << int(IoRecordFile::Format::Csv) << "0:00.00.00 61005:FF.FF.FF"
        << CsvHead + "0.000,1,1,1,1,1,0,0,0,0\n"
                     "61.005,0,0,0,0,0,1,1,1,1\n"
        << QByteArray(4096, 'x');
}

void TestIoTimeline::recordedText() {
    QFETCH(int, format);
    QFETCH(QString, reads);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, old);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("io"));
    if (!old.isEmpty()) {
        QFile before(path);
        QVERIFY(before.open(QIODevice::WriteOnly) && before.write(old) == old.size());
    }
    {
        IoRecordFile file{IoRecordFile::Format(format)};
        QVERIFY(file.open(path));
        for (const auto &read : series(reads))
            QVERIFY(file.add(read->ms, read->ports));
        QVERIFY(file.finish());
    }
    QCOMPARE(contents(path), text);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("io")});
}

void TestIoTimeline::failedReadEndsRecordingWhole() {
    RecorderFixture f;
    // The fifth read gets no answer: the line goes dead.
    f.sim.setDropAfter(5);
    f.recordUntilItEnds();
    QVERIFY(f.monitor.failed());
    QVERIFY(f.recorder.result().isDone());
    const QList<QByteArray> rows = contents(f.path).split('\n');
    QCOMPARE(rows.first() + '\n', CsvHead);
    // Four good reads, the file ending with a whole row.
    QCOMPARE(rows.size(), 6);
    QCOMPARE(rows.last(), QByteArray());
    for (const QByteArray &row : rows.mid(1, 4))
        QCOMPARE(row.count(','), IoSignals::Count);
}

void TestIoTimeline::unwritableFileIsTold() {
    RecorderFixture f;
    const QString path = f.dir.filePath(QStringLiteral("no/such/folder/io.vcd"));
    QVERIFY(!f.recorder.start(path, IoRecordFile::Format::Vcd));
    QCOMPARE(f.prompt.texts(), QStringList{ResText(1600).arg(path)});
    QVERIFY(!f.recorder.isRecording());
}

QV_TEST_CORE_MAIN(TestIoTimeline)
#include "tst_iotimeline.moc"
