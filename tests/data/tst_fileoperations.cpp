#include "base/ResText.h"
#include "data/FileOperations.h"
#include "data/QvDataFile.h"
#include "support/FileSizeLimit.h"
#include "support/ScriptedFileDialogs.h"
#include "support/ScriptedPrompt.h"
#include "support/StandInScreen.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cerrno>

namespace {

const QByteArray Example = "QV-R7\r\n12,3,3,250,10\r\n12,3,3,10\r\n20,5,4,100,0\r\n20,5,4,0\r\n"
                           "5,300,3,50\r\n10,20,30,0\r\n40,50,60,0\r\n";
const QStringList Brackets = {"CMDBTN_Muko", "Menyu_Muko", "CMDBTN_Yuko", "Menyu_Yuko"};
const QString SavingStopped = QString::fromUtf8("データの保存を中止しました。");
const QString SaveQuestion =
    QString::fromUtf8("データが変更されています。ファイルに保存しますか？");

QStringList withInside(QStringList calls, int at, const QStringList &inside) {
    for (const QString &c : inside)
        calls.insert(at++, c);
    return calls;
}

// One main window's worth of file operations with scripted answers.
struct Rig {
    QvDataCopies copies;
    StandInScreen screen;
    ScriptedPrompt prompt;
    ScriptedFileDialogs dialogs;
    FileOperations ops{copies, screen, prompt, dialogs};
};

} // namespace

class TestFileOperations : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void init() {
        setLangOffset(0);
        QVERIFY(writeBytes(path("example.qvd"), Example));
    }

    void openAdoptsTheFile() {
        Rig rig;
        rig.screen.dataChanged = true;
        rig.prompt.answers = {MsgAnswer::No};
        rig.dialogs.answers = {path("example.qvd")};
        rig.ops.Open();

        QCOMPARE(rig.dialogs.shown.size(), 1);
        const auto &shown = rig.dialogs.shown[0];
        QVERIFY(!shown.save);
        QCOMPARE(shown.options.title, QString::fromUtf8("ＱＶデータファイルを開く"));
        QCOMPARE(shown.options.filter,
                 QString::fromUtf8("ＱＶデータファイル(*.qvd)|*.qvd|すべてのファイル(*.*)|*.*"));
        QCOMPARE(shown.options.defaultExt, QString("qvd"));
        QVERIFY(shown.options.initialDir.isEmpty());
        QVERIFY(shown.options.fileName.isEmpty());

        QCOMPARE(rig.copies.working.Pulse1, 250);
        QCOMPARE(rig.copies.working, rig.copies.read);
        QCOMPARE(rig.screen.calls, withInside(Brackets, 2, {"ShowQvData"}));
        QCOMPARE(rig.ops.CurrentFileName(), QString("example"));
        QCOMPARE(rig.screen.shownNames, QStringList{"example"});
        QCOMPARE(rig.ops.currentFolder(), m_dir.path());
        QVERIFY(!rig.screen.dataChanged);
        QCOMPARE(rig.prompt.texts(), QStringList{SaveQuestion});
    }

    void openThatFailsChangesNothingOnScreen_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("messages");
        QTest::newRow("cancelled") << QString() << 0;
        QTest::newRow("not a data file") << "notes.txt" << 1;
    }
    void openThatFailsChangesNothingOnScreen() {
        QFETCH(QString, answer);
        QFETCH(int, messages);
        QVERIFY(writeBytes(path("notes.txt"), "hello\r\n"));
        Rig rig;
        rig.screen.dataChanged = true;
        rig.prompt.answers = {MsgAnswer::No};
        rig.copies.working.Vel1 = 5;
        rig.dialogs.answers = {answer.isEmpty() ? answer : path(answer)};
        rig.ops.Open();
        QCOMPARE(rig.screen.calls, Brackets);
        QCOMPARE(rig.prompt.shown.size(), 1 + messages);
        QCOMPARE(rig.copies.working.Vel1, qint16(5));
        QCOMPARE(rig.ops.CurrentFileName(), QString::fromUtf8("新規作成"));
        QVERIFY(rig.screen.shownNames.isEmpty());
        QVERIFY(rig.screen.dataChanged);
    }

    // Open with changed data asks as New does; a Yes whose save did not happen keeps the edits.
    void openAsksFirst_data() {
        QTest::addColumn<MsgAnswer>("answer");
        QTest::addColumn<bool>("screenCheck");
        QTest::addColumn<QString>("saveTo"); // the save dialog's answer; empty cancels
        QTest::addColumn<bool>("opens");
        QTest::newRow("No") << MsgAnswer::No << true << QString() << true;
        QTest::newRow("Cancel") << MsgAnswer::Cancel << true << QString() << false;
        QTest::newRow("Yes, saved") << MsgAnswer::Yes << true << "kept.qvd" << true;
        QTest::newRow("Yes, save cancelled") << MsgAnswer::Yes << true << QString() << false;
        QTest::newRow("Yes, refused by the checks")
            << MsgAnswer::Yes << false << "kept.qvd" << false;
        QTest::newRow("Yes, write failing")
            << MsgAnswer::Yes << true << "missing/kept.qvd" << false;
    }
    void openAsksFirst() {
        QFETCH(MsgAnswer, answer);
        QFETCH(bool, screenCheck);
        QFETCH(QString, saveTo);
        QFETCH(bool, opens);
        Rig rig;
        rig.screen.dataChanged = true;
        rig.screen.screenCheckPasses = screenCheck;
        rig.copies.working.Pulse1 = 777;
        rig.prompt.answers = {answer};
        const bool saving = answer == MsgAnswer::Yes && screenCheck;
        if (saving)
            rig.dialogs.answers.append(saveTo.isEmpty() ? saveTo : path(saveTo));
        rig.dialogs.answers.append(path("example.qvd"));

        rig.ops.Open();

        QCOMPARE(rig.prompt.shown[0].text, SaveQuestion);
        QCOMPARE(rig.prompt.shown[0].buttons, MsgButtons::YesNoCancel);
        QCOMPARE(rig.prompt.shown[0].icon, MsgIcon::Question);
        QCOMPARE(rig.dialogs.shown.size(), int(saving) + int(opens));
        QCOMPARE(rig.copies.working.Pulse1, opens ? 250 : 777);
        QCOMPARE(rig.screen.dataChanged, !opens);
        QCOMPARE(rig.ops.CurrentFileName(),
                 opens ? QString("example") : QString::fromUtf8("新規作成"));
        QCOMPARE(rig.screen.calls.last(), QString("Menyu_Yuko"));
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

    // A file that cannot be read: the message as it always was, and in its details the file
    // and the reason (the system's, or which value is missing or wrong).
    void readErrorNamesFileAndReason_data() {
        QTest::addColumn<QByteArray>("content"); // empty: no file
        QTest::addColumn<QString>("reason");
        QByteArray tooLarge = Example;
        tooLarge.replace("250", "99999999999");
        QTest::newRow("missing") << QByteArray() << qt_error_string(ENOENT);
        QTest::newRow("ends early")
            << QByteArray("QV-R7\r\n12,3\r\n")
            << "3 個目の数値の前でファイルが終わっています（30 個必要です）";
        QTest::newRow("a value too large")
            << tooLarge << "4 個目の数値「99999999999」は項目の値として読めません";
    }
    void readErrorNamesFileAndReason() {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        const QString file = path(QStringLiteral("fault.qvd"));
        QFile::remove(file);
        QVERIFY(content.isEmpty() || writeBytes(file, content));
        Rig rig;
        QVERIFY(!rig.ops.ReadQvFile(file).isDone());
        QCOMPARE(rig.prompt.texts(),
                 QStringList{QString::fromUtf8("データの読み込みでエラーが発生しました。\r\n"
                                               "データの読み込みを中止します。")});
        QCOMPARE(rig.prompt.shown[0].details, "ファイル：" + file + "\r\n理由：" + reason);
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

    void newData_data() {
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QList<MsgAnswer>>("answers");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("cleared");
        const QString question = SaveQuestion;
        QTest::newRow("unchanged") << false << QList<MsgAnswer>() << QStringList() << true;
        QTest::newRow("changed, No")
            << true << QList<MsgAnswer>{MsgAnswer::No} << QStringList{question} << true;
        QTest::newRow("changed, Cancel")
            << true << QList<MsgAnswer>{MsgAnswer::Cancel} << QStringList{question} << false;
        QTest::newRow("changed, Yes, save cancelled")
            << true << QList<MsgAnswer>{MsgAnswer::Yes} << QStringList{question, SavingStopped}
            << false;
    }
    void newData() {
        QFETCH(bool, changed);
        QFETCH(QList<MsgAnswer>, answers);
        QFETCH(QStringList, messages);
        QFETCH(bool, cleared);
        Rig rig;
        rig.ops.setCurrentFileName("example");
        rig.screen.shownNames.clear();
        rig.screen.dataChanged = changed;
        rig.copies.working.Vel1 = 12;
        rig.prompt.answers = answers;
        rig.ops.New();

        QCOMPARE(rig.prompt.texts(), messages);
        if (changed) {
            QCOMPARE(rig.prompt.shown[0].buttons, MsgButtons::YesNoCancel);
            QCOMPARE(rig.prompt.shown[0].icon, MsgIcon::Question);
        }
        QCOMPARE(rig.screen.calls.contains("ClearFieldsForNew"), cleared);
        QCOMPARE(rig.screen.calls.first(), QString("CMDBTN_Muko"));
        QCOMPARE(rig.screen.calls.last(), QString("Menyu_Yuko"));
        QCOMPARE(rig.ops.CurrentFileName(),
                 cleared ? QString::fromUtf8("新規作成") : QString("example"));
        QCOMPARE(rig.screen.dataChanged, !cleared);
        QCOMPARE(rig.copies.working.Vel1, qint16(12));
    }

    void namesFollowTheLanguage() {
        setLangOffset(10000);
        Rig rig;
        QCOMPARE(rig.ops.CurrentFileName(), QString("New data"));
        rig.ops.setCurrentFileName("Inside of C/T");
        rig.ops.Save();
        QCOMPARE(rig.dialogs.shown.size(), 1);
        QCOMPARE(rig.dialogs.shown[0].options.filter,
                 QString("QV dataQV data file(*.qvd)|*.qvd|All files(*.*)|*.*"));
        QCOMPARE(rig.prompt.texts(), QStringList{"Saving was stopped"});
    }

    void qtNameFilters_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("qt");
        QTest::newRow("several patterns")
            << "Text|*.txt;*.csv" << QStringList{"Text (*.txt *.TXT *.csv *.CSV)"};
        QTest::newRow("empty") << QString() << QStringList();
    }
    void qtNameFilters() {
        QFETCH(QString, filter);
        QFETCH(QStringList, qt);
        QCOMPARE(FileDialogs::qtNameFilters(filter), qt);
    }
};

QV_TEST_CORE_MAIN(TestFileOperations)
#include "tst_fileoperations.moc"
