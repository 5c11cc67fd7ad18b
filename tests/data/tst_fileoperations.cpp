// The file operations of the window and their questions: opening a file, new data, the names
// shown and the dialogs' filters.
#include "FileOperationsRig.h"
#include "base/ResText.h"
#include "data/QvDataFile.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>

#include <cerrno>

class TestFileOperations : public QObject, ExampleFolder {
    Q_OBJECT
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
