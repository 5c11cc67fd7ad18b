// Saving the data to a file: Save and Save As, their dialogs, and what a failed or stopped save
// reports and leaves behind.
#include "FileOperationsRig.h"
#include "base/ResText.h"
#include "data/QvDataFile.h"
#include "support/FileSizeLimit.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>

class TestFileSaving : public QObject, ExampleFolder {
    Q_OBJECT
private slots:
    void init() {
        setLangOffset(0);
        QVERIFY(writeBytes(path("example.qvd"), Example));
    }

    void saveAfterOpenWritesBackUnderTheDisplayName() {
        // data.txt opened through the all-files filter shows as "data" and is saved as data.qvd.
        QVERIFY(writeBytes(path("data.txt"), Example));
        Rig rig;
        rig.dialogs.answers = {path("data.txt")};
        rig.ops.Open();
        QCOMPARE(rig.ops.CurrentFileName(), QString("data"));

        rig.copies.working.Sp1 = 7;
        rig.screen.dataChanged = true;
        rig.screen.calls.clear();
        QVERIFY(rig.ops.Save().isDone());
        QCOMPARE(rig.dialogs.shown.size(), 1); // the open dialog only
        QCOMPARE(rig.screen.calls, withInside(Brackets, 2, {"ScreenCheck"}));
        QCOMPARE(readBytes(path("data.qvd")), QByteArray(Example).replace("60,0\r\n", "60,7\r\n"));
        QCOMPARE(readBytes(path("data.txt")), Example);
        QVERIFY(!rig.screen.dataChanged);
        QVERIFY(rig.prompt.shown.isEmpty());
    }

    void saveAsksForANameWithoutAFile_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("right after start-up") << QString::fromUtf8("新規作成");
        QTest::newRow("after a read from the controller") << QString::fromUtf8("ｺﾝﾄﾛｰﾗ内ﾃﾞｰﾀ");
    }
    void saveAsksForANameWithoutAFile() {
        QFETCH(QString, name);
        Rig rig;
        rig.ops.setCurrentFileName(name);
        rig.screen.dataChanged = true;
        rig.dialogs.answers = {path("chosen.qvd")};
        rig.ops.Save();

        QCOMPARE(rig.dialogs.shown.size(), 1);
        const auto &options = rig.dialogs.shown[0].options;
        QVERIFY(rig.dialogs.shown[0].save);
        QCOMPARE(options.filter, QString::fromUtf8("ＱＶデータＱＶデータファイル(*.qvd)|*.qvd|"
                                                   "すべてのファイル(*.*)|*.*"));
        QVERIFY(options.overwritePrompt);
        QCOMPARE(options.defaultExt, QString("qvd"));
        QCOMPARE(readBytes(path("chosen.qvd")), QvDataFile::format(rig.copies.working));
        QCOMPARE(rig.ops.CurrentFileName(), QString("chosen"));
        QVERIFY(!rig.screen.dataChanged);
    }

    void saveDialogKeepsWhatTheDialogLastHad() {
        Rig rig;
        rig.dialogs.answers = {path("example.qvd"), QString()};
        rig.ops.Open();
        rig.ops.setCurrentFileName(QString::fromUtf8("ｺﾝﾄﾛｰﾗ内ﾃﾞｰﾀ"));
        rig.ops.Save();
        QCOMPARE(rig.dialogs.shown.size(), 2);
        const auto &options = rig.dialogs.shown[1].options;
        QCOMPARE(options.title, QString::fromUtf8("ＱＶデータファイルを開く"));
        QCOMPARE(options.fileName, path("example.qvd"));
        QCOMPARE(options.defaultExt, QString("qvd"));
    }

    void saveStoppedIsReported_data() {
        QTest::addColumn<QString>("answer");
        QTest::newRow("dialog cancelled") << QString();
        QTest::newRow("write fails") << "missing/x.qvd";
    }
    void saveStoppedIsReported() {
        QFETCH(QString, answer);
        Rig rig;
        rig.screen.dataChanged = true;
        rig.dialogs.answers = {answer.isEmpty() ? answer : path(answer)};
        QVERIFY(!rig.ops.Save().isDone());
        QCOMPARE(rig.prompt.texts(), QStringList{SavingStopped});
        // A failed write names the file and the system's reason.
        QCOMPARE(rig.prompt.shown[0].details.startsWith("ファイル：" + path(answer) + "\r\n理由："),
                 !answer.isEmpty());
        QCOMPARE(rig.prompt.shown[0].buttons, MsgButtons::OkOnly);
        QCOMPARE(rig.screen.calls, withInside(Brackets, 2, {"ScreenCheck"}));
        QCOMPARE(rig.ops.CurrentFileName(), QString::fromUtf8("新規作成"));
        QVERIFY(rig.screen.dataChanged);
    }

    void failedSaveKeepsTheOldFile() {
        Rig rig;
        rig.dialogs.answers = {path("example.qvd")};
        rig.ops.Open();
        rig.screen.dataChanged = true;
        // The file's place is taken by a folder: the save cannot replace it.
        QVERIFY(QFile::remove(path("example.qvd")));
        QVERIFY(QDir(m_dir.path()).mkdir("example.qvd"));
        rig.ops.Save();
        QCOMPARE(rig.prompt.texts(), QStringList{SavingStopped});
        QVERIFY(QFileInfo(path("example.qvd")).isDir());
        QCOMPARE(rig.ops.CurrentFileName(), QString("example"));
        QVERIFY(rig.screen.dataChanged);
        QDir(m_dir.path()).rmdir("example.qvd");
    }

    // A write that fails part-way: Save of the opened file on a full disk (a file-size limit stands
    // in for it), or a first Save whose chosen file is a device without space.
    void writeFailingPartWayIsReported_data() {
        QTest::addColumn<bool>("diskFull");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("name");
        QTest::newRow("disk full") << true << QString() << "example";
        QTest::newRow("/dev/full chosen") << false << "/dev/full" << QString::fromUtf8("新規作成");
    }
    void writeFailingPartWayIsReported() {
        QFETCH(bool, diskFull);
        QFETCH(QString, chosen);
        QFETCH(QString, name);
        Rig rig;
        if (diskFull) {
            rig.dialogs.answers = {path("example.qvd")};
            rig.ops.Open();
        }
        rig.dialogs.answers = {chosen};
        rig.copies.working.Pulse1 = 123456;
        rig.screen.dataChanged = true;

        OpResult result;
        if (diskFull) {
            const FileSizeLimit full(20);
            QVERIFY(full.isSet());
            result = rig.ops.Save();
        } else {
            result = rig.ops.Save();
        }

        QCOMPARE(result.failure, OpResult::Failure::FileError);
        QCOMPARE(rig.prompt.texts(), QStringList{SavingStopped});
        QCOMPARE(readBytes(path("example.qvd")), Example);
        QCOMPARE(rig.ops.CurrentFileName(), name);
        QVERIFY(rig.screen.dataChanged);
    }

    void screenCheckStopsSaveAndSaveAs() {
        Rig rig;
        rig.screen.screenCheckPasses = false;
        rig.dialogs.answers = {path("a.qvd"), path("b.qvd")};
        rig.ops.Save();
        rig.ops.SaveAs();
        QVERIFY(rig.dialogs.shown.isEmpty());
        QVERIFY(rig.prompt.shown.isEmpty());
        QCOMPARE(rig.screen.calls, withInside(Brackets, 2, {"ScreenCheck"}) << "ScreenCheck");
        QVERIFY(!QFile::exists(path("a.qvd")));
    }

    void saveAsWithHiddenParametersKeepsEveryItem() {
        Rig rig;
        rig.screen.parametersActive = false;
        const QvData d{.Vel1 = 30,
                       .Acc1 = 9,
                       .Dec1 = 8,
                       .PauseTime1 = 255,
                       .Pulse1 = 16777215,
                       .Vel2 = 29,
                       .Acc2 = 7,
                       .Dec2 = 6,
                       .PauseTime2 = 254,
                       .Pulse2 = 400,
                       .SeparateTimer = 250,
                       .SupplyCounter = 253,
                       .RestartDelay = 251,
                       .MidDetectCounter = 249,
                       .NoWorkCounter = 252,
                       .TipWorkOffTimer = 248,
                       .Sp1 = 247,
                       .RevDir = 1,
                       .HomingVel = 16,
                       .HomingPulse = 600,
                       .OffsetVel = 15,
                       .OffsetPulse = 599};
        rig.copies.working = d;
        rig.dialogs.answers = {path("hidden.qvd"), path("hidden.qvd")};
        rig.ops.SaveAs();

        const auto &options = rig.dialogs.shown[0].options;
        QCOMPARE(options.title, QString::fromUtf8("名前を付けてファイルに保存"));
        QCOMPARE(options.filter, QString::fromUtf8("ＱＶデータファイル(*.qvd)|*.qvd|"));
        QCOMPARE(options.fileName, QString("qvdata1.qvd"));
        QCOMPARE(options.defaultExt, QString("qvd"));
        QVERIFY(options.overwritePrompt);
        QCOMPARE(rig.screen.calls, QStringList{"ScreenCheck"}); // no bracket
        QCOMPARE(rig.ops.CurrentFileName(), QString("hidden"));

        rig.copies.working = QvData();
        rig.ops.Open();
        QCOMPARE(rig.copies.read, d);
        QCOMPARE(rig.copies.working, d);
    }

    void saveAsReportsAFailedWriteOnly_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("cancelled quietly") << QString() << QStringList();
        QTest::newRow("write fails") << "missing/x.qvd" << QStringList{SavingStopped};
    }
    void saveAsReportsAFailedWriteOnly() {
        QFETCH(QString, answer);
        QFETCH(QStringList, messages);
        Rig rig;
        rig.screen.dataChanged = true;
        rig.dialogs.answers = {answer.isEmpty() ? answer : path(answer)};
        rig.ops.SaveAs();
        QCOMPARE(rig.prompt.texts(), messages);
        QVERIFY(rig.screen.dataChanged);
        QCOMPARE(rig.ops.CurrentFileName(), QString::fromUtf8("新規作成"));
    }

    void shortFileNameIsNeverSavedNameless() {
        // "abc" has no characters left once the last four are dropped.
        QVERIFY(writeBytes(path("abc"), Example));
        Rig rig;
        rig.dialogs.answers = {path("abc"), QString()};
        rig.ops.Open();
        QCOMPARE(rig.ops.CurrentFileName(), QString());
        rig.ops.Save();
        QCOMPARE(rig.dialogs.shown.size(), 2);
        QVERIFY(rig.dialogs.shown[1].save);
        QVERIFY(!QFile::exists(path(".qvd")));
    }
};

QV_TEST_CORE_MAIN(TestFileSaving)
#include "tst_filesaving.moc"
