#include "base/ResText.h"
#include "data/QvDataFile.h"
#include "support/FileSizeLimit.h"
#include "support/ScriptedPrompt.h"
#include "support/StandInScreen.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray Example = "QV-R7\r\n12,3,3,250,10\r\n12,3,3,10\r\n20,5,4,100,0\r\n20,5,4,0\r\n"
                           "5,300,3,50\r\n10,20,30,0\r\n40,50,60,0\r\n";

const QString NotQvFile =
    QString::fromUtf8("QVデータファイルではありません。\r\n読み込みを中止します。");
const QString ReadFailed =
    QString::fromUtf8("データの読み込みでエラーが発生しました。\r\nデータの読み込みを中止します。");

QvData exampleData() {
    return QvData{.Vel1 = 12,
                  .Acc1 = 3,
                  .Dec1 = 3,
                  .PauseTime1 = 10,
                  .Pulse1 = 250,
                  .Vel2 = 20,
                  .Acc2 = 5,
                  .Dec2 = 4,
                  .PauseTime2 = 0,
                  .Pulse2 = 100,
                  .SeparateTimer = 40,
                  .SupplyCounter = 10,
                  .RestartDelay = 30,
                  .MidDetectCounter = 50,
                  .NoWorkCounter = 20,
                  .TipWorkOffTimer = 60,
                  .Sp1 = 0,
                  .RevDir = 0,
                  .HomingVel = 5,
                  .HomingPulse = 300,
                  .OffsetVel = 3,
                  .OffsetPulse = 50};
}

// A data set whose 22 items all differ, with the extremes of both widths.
QvData distinctData() {
    return QvData{.Vel1 = 1,
                  .Acc1 = 2,
                  .Dec1 = 3,
                  .PauseTime1 = 4,
                  .Pulse1 = 16777215,
                  .Vel2 = 5,
                  .Acc2 = 6,
                  .Dec2 = 7,
                  .PauseTime2 = 8,
                  .Pulse2 = -2147483647 - 1,
                  .SeparateTimer = -32768,
                  .SupplyCounter = 11,
                  .RestartDelay = 13,
                  .MidDetectCounter = 32767,
                  .NoWorkCounter = 12,
                  .TipWorkOffTimer = 14,
                  .Sp1 = -1,
                  .RevDir = 1,
                  .HomingVel = 9,
                  .HomingPulse = 600,
                  .OffsetVel = 10,
                  .OffsetPulse = 2147483647};
}

// A stream that begins with head and then repeats one character for ever, like a device file.
class EndlessDevice : public QIODevice {
public:
    EndlessDevice(const QByteArray &head, char fill) : m_head(head), m_fill(fill) {
        open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return true; }
    qint64 bytesRead() const { return m_read; }

protected:
    qint64 readData(char *data, qint64 maxSize) override {
        for (qint64 i = 0; i < maxSize; ++i, ++m_read)
            data[i] = m_read < m_head.size() ? m_head.at(m_read) : m_fill;
        return maxSize;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_head;
    char m_fill;
    qint64 m_read = 0;
};

} // namespace

class TestQvDataFile : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void init() { setLangOffset(0); }

    void exampleFileReadAndWrittenBack() {
        const QString fixture = QFINDTESTDATA("files/example.qvd");
        QVERIFY(!fixture.isEmpty());
        QCOMPARE(readBytes(fixture), Example);

        StandInScreen screen;
        screen.dataChanged = true;
        ScriptedPrompt prompt;
        QvData read;
        QCOMPARE(ReadQvFile(fixture, read, screen, prompt).code(), qint16(0));
        QCOMPARE(read, exampleData());
        QVERIFY(!screen.dataChanged);
        QVERIFY(prompt.shown.isEmpty());

        QVERIFY(QvDataFile::write(path("back.qvd"), read));
        QCOMPARE(readBytes(path("back.qvd")), Example);
    }

    void everyItemSurvivesARoundTrip() {
        QVERIFY(QvDataFile::write(path("all.qvd"), distinctData()));
        StandInScreen screen;
        ScriptedPrompt prompt;
        QvData read;
        QCOMPARE(ReadQvFile(path("all.qvd"), read, screen, prompt).code(), qint16(0));
        QCOMPARE(read, distinctData());
        QVERIFY(readBytes(path("all.qvd"))
                    .startsWith("QV-R7\r\n1,2,3,16777215,4\r\n1,2,3,4\r\n"
                                "5,6,7,-2147483648,8\r\n"));
    }

    void readFiles_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message"); // empty: read
        QTest::addColumn<QString>("item");    // item checked, by name
        QTest::addColumn<int>("value");

        QByteArray shifted = Example;
        shifted.replace("QV-R7\r\n", "QV-R7,1,2\r\n");
        QTest::newRow("marker then two numbers shifts fields: Vel1") << shifted << ""
                                                                     << "Vel1" << 1;
        QTest::newRow("shifted: Dec1") << shifted << ""
                                       << "Dec1" << 12;
        QTest::newRow("shifted: Vel2") << shifted << ""
                                       << "Vel2" << 3;
        QTest::newRow("shifted: Sp1") << shifted << ""
                                      << "Sp1" << 50;
        QByteArray lower = Example;
        lower.replace("QV-R7", "qv-r7");
        QTest::newRow("marker in small letters") << lower << NotQvFile << "Vel1" << 99;
        QTest::newRow("empty file") << QByteArray() << NotQvFile << "Vel1" << 99;
        QByteArray short29 = Example;
        short29.replace("40,50,60,0\r\n", "40,50,60\r\n");
        QTest::newRow("29 numbers: nothing stored") << short29 << ReadFailed << "Vel1" << 99;
        QByteArray trailingComma = short29;
        trailingComma.replace("40,50,60\r\n", "40,50,60,");
        QTest::newRow("ends after a comma") << trailingComma << ReadFailed << "Vel1" << 99;
        const auto variant = [](const char *from, const char *to) {
            QByteArray b = Example;
            return b.replace(from, to);
        };
        QTest::newRow("7abc reads as 7") << variant("\r\n12,3,3,250", "\r\n7abc,3,3,250") << ""
                                         << "Vel1" << 7;
        QTest::newRow("2.5 reads as 2") << variant("20,5,4,100", "2.5,5,4,100") << ""
                                        << "Vel2" << 2;
        QTest::newRow("3.5 reads as 4") << variant("20,5,4,100", "3.5,5,4,100") << ""
                                        << "Vel2" << 4;
        QTest::newRow("leading blanks") << variant("20,5,4,100", "  -7,5,4,100") << ""
                                        << "Vel2" << -7;
        QTest::newRow("empty 16-bit field reads as 0") << variant("5,300,3,50", "5,300,,50") << ""
                                                       << "OffsetVel" << 0;
        QTest::newRow("empty pulse field reads as 0") << variant("5,300,3,50", "5,,3,50") << ""
                                                      << "HomingPulse" << 0;
        QTest::newRow("pulse 2.5 rounds to even") << variant("12,3,3,250,", "12,3,3,2.5,") << ""
                                                  << "Pulse1" << 2;
        QTest::newRow("letters in a pulse field")
            << variant("12,3,3,250,", "12,3,3,abc,") << ReadFailed << "Dec1" << 3;
        QTest::newRow("pulse with trailing letters")
            << variant("12,3,3,250,", "12,3,3,250x,") << ReadFailed << "Pulse1" << 99;
        QTest::newRow("16-bit value too large")
            << variant("20,5,4,100", "40000,5,4,100") << ReadFailed << "Vel2" << 99;
        QTest::newRow("number too large for any type")
            << variant("20,5,4,100", QByteArray(400, '9').append(",5,4,100").constData())
            << ReadFailed << "Vel2" << 99;
        QTest::newRow("pulse beyond 32 bits")
            << variant("5,300,3,50", "5,2147483648,3,50") << ReadFailed << "HomingPulse" << 99;
        QTest::newRow("line 3 is dropped") << variant("12,3,3,10\r\n", "1,1,1,1\r\n") << ""
                                           << "PauseTime1" << 10;
        QTest::newRow("line 5 is dropped") << variant("20,5,4,0\r\n", "9,9,9,9\r\n") << ""
                                           << "PauseTime2" << 0;
        QByteArray lf = Example;
        QTest::newRow("LF line ends") << lf.replace("\r\n", "\n") << ""
                                      << "Sp1" << 0;
        QTest::newRow("quoted fields") << variant("QV-R7\r\n12,", "\"QV-R7\"\r\n\"12\",") << ""
                                       << "Vel1" << 12;
    }
    void readFiles() {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        QFETCH(QString, item);
        QFETCH(int, value);
        QVERIFY(writeBytes(path("case.qvd"), content));

        StandInScreen screen;
        screen.dataChanged = true;
        ScriptedPrompt prompt;
        QvData read;
        read.Vel1 = read.Dec1 = read.Vel2 = read.Pulse1 = read.HomingPulse = 99;
        const qint16 result = ReadQvFile(path("case.qvd"), read, screen, prompt).code();

        QCOMPARE(result, qint16(message.isEmpty() ? 0 : 1));
        QCOMPARE(prompt.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(screen.dataChanged, !message.isEmpty());
        const QHash<QString, qint32> items = {{"Vel1", read.Vel1},
                                              {"Dec1", read.Dec1},
                                              {"Pulse1", read.Pulse1},
                                              {"PauseTime1", read.PauseTime1},
                                              {"Vel2", read.Vel2},
                                              {"PauseTime2", read.PauseTime2},
                                              {"OffsetVel", read.OffsetVel},
                                              {"HomingPulse", read.HomingPulse},
                                              {"Sp1", read.Sp1}};
        QVERIFY(items.contains(item));
        QCOMPARE(items.value(item), value);
    }

    void endlessInputEndsTheRead_data() {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<char>("fill");
        QTest::addColumn<int>("outcome");
        const int notQv = int(QvDataFile::ReadOutcome::NotQvFile);
        const int broken = int(QvDataFile::ReadOutcome::Broken);
        QTest::newRow("zero bytes") << QByteArray() << '\0' << notQv;
        QTest::newRow("blanks") << QByteArray() << ' ' << notQv;
        QTest::newRow("quoted marker, no separator") << QByteArray("\"QV-R7\"") << 'x' << notQv;
        QTest::newRow("open quote") << QByteArray("\"") << 'Q' << notQv;
        QTest::newRow("digits after the marker") << QByteArray("QV-R7\r\n12,") << '7' << broken;
        QTest::newRow("blanks after the marker") << QByteArray("QV-R7\r\n") << ' ' << broken;
    }
    void endlessInputEndsTheRead() {
        QFETCH(QByteArray, head);
        QFETCH(char, fill);
        QFETCH(int, outcome);
        EndlessDevice device(head, fill);
        QvData read;
        read.Vel1 = 99;
        QCOMPARE(int(QvDataFile::read(device, read)), outcome);
        QCOMPARE(read.Vel1, qint16(99));
        // Stopped within a field's reach, long before memory runs out.
        QVERIFY2(device.bytesRead() < 1024 * 1024, qPrintable(QString::number(device.bytesRead())));
    }

    // A FIFO without a writer would block open() for ever; a device never ends. Both are refused
    // at once with the read-failure message, before anything is read.
    void specialFileChosenIsRefused_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("device") << "/dev/zero";
        QTest::newRow("FIFO") << "fifo";
        QTest::newRow("link to a FIFO") << "link";
    }
    void specialFileChosenIsRefused() {
        QFETCH(QString, file);
        QVERIFY(::mkfifo(qPrintable(path("fifo")), 0600) == 0 || QFile::exists(path("fifo")));
        QFile::link(path("fifo"), path("link"));
        StandInScreen screen;
        screen.dataChanged = true;
        ScriptedPrompt prompt;
        QvData read;
        const QString chosen = file.startsWith('/') ? file : path(file);
        QCOMPARE(ReadQvFile(chosen, read, screen, prompt).code(), qint16(1));
        QCOMPARE(prompt.texts(), QStringList{ReadFailed});
        QCOMPARE(read, QvData());
        QVERIFY(screen.dataChanged);
    }

    void missingFileIsAReadFailure() {
        StandInScreen screen;
        ScriptedPrompt prompt;
        QvData read;
        QCOMPARE(ReadQvFile(path("none.qvd"), read, screen, prompt).code(), qint16(1));
        QCOMPARE(prompt.texts(), QStringList{ReadFailed});
        QCOMPARE(prompt.shown[0].buttons, MsgButtons::OkOnly);
        QCOMPARE(prompt.shown[0].icon, MsgIcon::None);
    }

    void failedWritesKeepTheOldFile_data() {
        QTest::addColumn<QString>("target");
        QTest::newRow("folder missing") << "missing/data.qvd";
        QTest::newRow("target is a folder") << "folder";
        QTest::newRow("device without space") << "/dev/full";
        // Nothing would fail here, but a device is no data file; a FIFO nobody reads would block.
        QTest::newRow("device taking anything") << "/dev/null";
        QTest::newRow("FIFO") << "fifo";
    }
    void failedWritesKeepTheOldFile() {
        QFETCH(QString, target);
        QDir(m_dir.path()).mkdir("folder");
        QVERIFY(::mkfifo(qPrintable(path("fifo")), 0600) == 0 || QFile::exists(path("fifo")));
        const QString file = target.startsWith('/') ? target : path(target);
        QVERIFY(!QvDataFile::write(file, exampleData()));
        QVERIFY(QFileInfo(file).exists() == (target != "missing/data.qvd"));
        QVERIFY(!QFileInfo(file).isFile());
    }

    void writeThatRunsOutOfSpaceKeepsTheOldFile() {
        // A file-size limit stands in for a full disk: the write fails part-way.
        const QString file = path("old.qvd");
        QVERIFY(writeBytes(file, Example));
        bool written = true;
        {
            const FileSizeLimit full(20);
            QVERIFY(full.isSet());
            written = QvDataFile::write(file, distinctData());
        }

        QVERIFY(!written);
        QCOMPARE(readBytes(file), Example);
        QCOMPARE(QDir(m_dir.path()).entryList({"old.qvd*"}, QDir::Files), QStringList{"old.qvd"});
    }

    void readOnlyFolderKeepsTheOldFile() {
        if (geteuid() == 0)
            QSKIP("folder permissions do not bind the superuser");
        QDir(m_dir.path()).mkdir("locked");
        const QString file = path("locked/old.qvd");
        QVERIFY(writeBytes(file, Example));
        QFile::setPermissions(path("locked"), QFile::ReadOwner | QFile::ExeOwner);
        const bool written = QvDataFile::write(file, distinctData());
        QFile::setPermissions(path("locked"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!written);
        QCOMPARE(readBytes(file), Example);
    }
};

QV_TEST_CORE_MAIN(TestQvDataFile)
#include "tst_qvdatafile.moc"
