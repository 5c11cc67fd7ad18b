// Reading from the simulated controller over a pty: what goes over the wire, what the user is
// asked and told, what the progress window shows and what becomes of the data.
#include "TransferCases.h"
#include "base/ResText.h"
#include "support/TestEnvironment.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

class TestTransfer : public QObject {
    Q_OBJECT
private slots:
    void init() {
        clearStoredSettings();
        setLangOffset(0);
    }

    void readAdoptsControllerData_data();
    void readAdoptsControllerData();
    void readQuestions_data();
    void readQuestions();
    void saveQuestionYes_data();
    void saveQuestionYes();
    void readFailures_data();
    void readFailures();
    void readPortUnavailable();
    void readWhileVerificationWaits();
};

void TestTransfer::readAdoptsControllerData_data() {
    QTest::addColumn<bool>("parameters");
    QTest::newRow("parameters shown") << true;
    QTest::newRow("parameters hidden") << false;
}

// All five blocks are read whatever the parameter display; the data become the screen's, the
// name "inside of the controller", the data unchanged.
void TestTransfer::readAdoptsControllerData() {
    QFETCH(bool, parameters);
    TransferFixture f;
    f.screen.parametersActive = parameters;
    f.prompt.answers = {MsgAnswer::Yes};

    f.transfer.GetfromCt();

    QCOMPARE(f.sent(), readLines());
    QCOMPARE(f.prompt.shown.size(), 1);
    QCOMPARE(f.prompt.shown[0].text, QStringLiteral("コントローラーからデータを読み込みますか？"));
    QCOMPARE(f.prompt.shown[0].buttons, MsgButtons::YesNo);
    QCOMPARE(f.prompt.shown[0].icon, MsgIcon::Question);
    QCOMPARE(f.copies.read, factoryData());
    QCOMPARE(f.screen.fields, factoryData());
    QCOMPARE(f.screen.shownNames, QStringList{QStringLiteral("ｺﾝﾄﾛｰﾗ内ﾃﾞｰﾀ")});
    QCOMPARE(f.files.CurrentFileName(), QStringLiteral("ｺﾝﾄﾛｰﾗ内ﾃﾞｰﾀ"));
    QCOMPARE(
        f.progress.events,
        (QStringList{QStringLiteral("label 通信チェックをしています。"), QStringLiteral("show"),
                     QStringLiteral("label コントローラーからパラメーターを読み込んでいます。"),
                     QStringLiteral("max 6"), QStringLiteral("unload")}));
    QCOMPARE(f.progress.values, (QList<int>{1, 2, 3, 4, 5}));
    QCOMPARE(f.screen.calls,
             (QStringList{QStringLiteral("CMDBTN_Muko"), QStringLiteral("Menyu_Muko"),
                          QStringLiteral("ShowQvData"), QStringLiteral("CMDBTN_Yuko"),
                          QStringLiteral("Menyu_Yuko")}));
}

void TestTransfer::readQuestions_data() {
    QTest::addColumn<bool>("changed");
    QTest::addColumn<MsgAnswer>("answer");
    QTest::addColumn<bool>("reads");

    QTest::newRow("unchanged, Yes") << false << MsgAnswer::Yes << true;
    QTest::newRow("unchanged, No") << false << MsgAnswer::No << false;
    QTest::newRow("changed, No saves nothing and reads") << true << MsgAnswer::No << true;
    QTest::newRow("changed, Cancel") << true << MsgAnswer::Cancel << false;
}

void TestTransfer::readQuestions() {
    QFETCH(bool, changed);
    QFETCH(MsgAnswer, answer);
    QFETCH(bool, reads);
    TransferFixture f;
    f.screen.dataChanged = changed;
    f.prompt.answers = {answer};

    f.transfer.GetfromCt();

    QCOMPARE(f.sent(), reads ? readLines() : QStringList{});
    QCOMPARE(f.prompt.shown.size(), 1);
    if (changed) {
        QCOMPARE(f.prompt.shown[0].text,
                 QStringLiteral("データを読み込む前に、現在編集中のデータを保存しますか？"));
        QCOMPARE(f.prompt.shown[0].buttons, MsgButtons::YesNoCancel);
        QCOMPARE(f.prompt.shown[0].icon, MsgIcon::Question);
    }
    QVERIFY(f.dialogs.shown.isEmpty());
    QCOMPARE(f.screen.dataChanged, reads ? false : changed);
    QCOMPARE(f.screen.calls.last(), QStringLiteral("Menyu_Yuko"));
}

void TestTransfer::saveQuestionYes_data() {
    QTest::addColumn<bool>("screenCheck");
    QTest::addColumn<QString>("chosen"); // relative to a temporary folder; empty cancels
    QTest::addColumn<bool>("reads");
    QTest::newRow("saved") << true << "kept.qvd" << true;
    QTest::newRow("Save As cancelled") << true << QString() << false;
    QTest::newRow("Save As refused by the checks") << false << "kept.qvd" << false;
    QTest::newRow("Save As failing") << true << "missing/kept.qvd" << false;
}

// Yes to "save before reading?": the read replaces the screen only once the edits are in a file.
void TestTransfer::saveQuestionYes() {
    QFETCH(bool, screenCheck);
    QFETCH(QString, chosen);
    QFETCH(bool, reads);
    QTemporaryDir dir;
    TransferFixture f;
    f.screen.fields = editedData();
    f.screen.dataChanged = true;
    f.screen.screenCheckPasses = screenCheck;
    f.prompt.answers = {MsgAnswer::Yes, MsgAnswer::Yes};
    f.dialogs.answers = {chosen.isEmpty() ? chosen : dir.filePath(chosen)};

    f.transfer.GetfromCt();

    QCOMPARE(f.sent(), reads ? readLines() : QStringList{});
    QCOMPARE(f.screen.fields, reads ? factoryData() : editedData());
    QCOMPARE(f.screen.dataChanged, !reads);
    QCOMPARE(QFileInfo::exists(dir.filePath(QStringLiteral("kept.qvd"))), reads);
    QCOMPARE(f.screen.calls.last(), QStringLiteral("Menyu_Yuko"));
}

// Each row spoils one reply; the read stops there, the user sees the exchange's message (if any)
// and then 212, and the screen, both copies and DataChanged stay as they were. The result names
// the failure and, as its text, the first message shown.
void TestTransfer::readFailures_data() {
    QTest::addColumn<QString>("result");
    QTest::addColumn<QList<SimFault>>("faults");
    QTest::addColumn<QString>("badBlock"); // content served for block "02" instead, if any
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QList<int>>("values");

    SimFault error = faultOn(QStringLiteral("0RD02"));
    error.errorCode = QStringLiteral("02");
    QTest::newRow("error reply to block 02")
        << QStringLiteral("failed: error reply") << QList<SimFault>{error} << QString()
        << readLines().mid(0, 2) << QStringList{errorMessage(QStringLiteral("02")), ReadFailed}
        << QList<int>{};

    SimFault longer = faultOn(QStringLiteral("0RD05"));
    longer.lengthDelta = 1;
    QTest::newRow("reply to block 05 one character long")
        << QStringLiteral("failed: malformed reply") << QList<SimFault>{longer} << QString()
        << readLines().mid(0, 4) + QStringList{QStringLiteral("0CM0")}
        << QStringList{QStringLiteral(
                           "通信データ長エラー！\r\n通信データのデータ長に異常が検出されました"),
                       ReadFailed}
        << QList<int>{1, 2};

    SimFault checkError = faultOn(Check);
    checkError.errorCode = QStringLiteral("01");
    QTest::newRow("communication check refused")
        << QStringLiteral("failed: error reply") << QList<SimFault>{checkError} << QString()
        << QStringList{Check} << QStringList{errorMessage(QStringLiteral("01")), ReadFailed}
        << QList<int>{};

    // A pulse count that is not hexadecimal cannot be taken: the whole read fails.
    QTest::newRow("pulse field not hexadecimal")
        << QStringLiteral("failed: malformed reply") << QList<SimFault>{}
        << QStringLiteral("280302000G9005FF") << readLines() << QStringList{ReadFailed}
        << QList<int>{1, 2, 3, 4, 5};
    // So does a byte field, where "ZZ" would otherwise have been read as 0.
    QTest::newRow("byte field not hexadecimal")
        << QStringLiteral("failed: malformed reply") << QList<SimFault>{}
        << QStringLiteral("28ZZ0200019005FF") << readLines() << QStringList{ReadFailed}
        << QList<int>{1, 2, 3, 4, 5};

    // Block 04's data in answer to "0RD02" would land in position 1's items.
    SimFault otherBlock = faultOn(QStringLiteral("0RD02"));
    otherBlock.overwriteAt = 3;
    otherBlock.overwrite = "04";
    QTest::newRow("reply names another block")
        << QStringLiteral("failed: malformed reply") << QList<SimFault>{otherBlock} << QString()
        << readLines().mid(0, 2) + QStringList{QStringLiteral("0CM0")}
        << QStringList{WrongCommand, ReadFailed} << QList<int>{};
}

void TestTransfer::readFailures() {
    QFETCH(QString, result);
    QFETCH(QList<SimFault>, faults);
    QFETCH(QString, badBlock);
    QFETCH(QStringList, sent);
    QFETCH(QStringList, messages);
    QFETCH(QList<int>, values);
    TransferFixture f(false);
    for (const SimFault &fault : faults)
        f.sim.addFault(fault);
    if (!badBlock.isEmpty())
        f.sim.model().setBlock(QStringLiteral("02"), badBlock);
    QvData before = editedData();
    f.copies.working = before;
    f.copies.read = before;
    f.screen.fields = before;
    f.screen.dataChanged = true;
    f.prompt.answerTo[Question::SaveBeforeRead] = MsgAnswer::No;

    const OpResult outcome = f.transfer.GetfromCt();

    QCOMPARE(described(outcome), result);
    QCOMPARE(outcome.text, messages.first());
    QCOMPARE(f.sent(), sent);
    QCOMPARE(f.prompt.texts().mid(1), messages);
    QCOMPARE(f.progress.values, values);
    QCOMPARE(f.progress.events.last(), QStringLiteral("unload"));
    QCOMPARE(f.copies.read, before);
    QCOMPARE(f.copies.working, before);
    QCOMPARE(f.screen.fields, before);
    QVERIFY(f.screen.shownNames.isEmpty());
    QVERIFY(f.screen.dataChanged);
    QVERIFY(!f.link.isPortOpen());
    QCOMPARE(f.screen.calls.last(), QStringLiteral("Menyu_Yuko"));
}

void TestTransfer::readPortUnavailable() {
    TransferFixture f;
    f.link.setDeviceOverride(QStringLiteral("/dev/null/none"));
    f.prompt.answers = {MsgAnswer::Yes};

    f.transfer.GetfromCt();

    QVERIFY(f.sent().isEmpty());
    QCOMPARE(f.prompt.texts().mid(1), QStringList{ReadFailed});
    QVERIFY(f.screen.shownNames.isEmpty());
}

// The buttons stay enabled while the verification menu item reads the controller. A read started
// meanwhile is refused: no message (the line has not failed), and the verification's port and
// progress window are left alone.
void TestTransfer::readWhileVerificationWaits() {
    TransferFixture f(false);
    SimFault slow = faultOn(QStringLiteral("0RD04"));
    slow.pieces = 2;
    slow.pieceGapMs = 150;
    f.sim.addFault(slow);
    bool clicked = false;
    QObject::connect(&f.sim, &ControllerSimulator::lineReceived, &f.sim,
                     [&f, &clicked](const QString &line) {
                         if (line == QLatin1String("0RD04"))
                             QTimer::singleShot(0, &f.sim, [&f, &clicked] {
                                 f.transfer.GetfromCt();
                                 clicked = true;
                             });
                     });
    f.screen.fields = factoryData();
    f.prompt.answers = {MsgAnswer::Yes};

    f.verification.PosiDataCtShogo(false);

    QVERIFY(clicked);
    QCOMPARE(f.sent(), readLines());
    QCOMPARE(f.prompt.texts(),
             (QStringList{QStringLiteral("コントローラーからデータを読み込みますか？"),
                          QStringLiteral("照合結果－ＯＫ")}));
    QCOMPARE(f.progress.events.count(QStringLiteral("show")), 1);
    QCOMPARE(f.progress.events.count(QStringLiteral("unload")), 1);
    QVERIFY(f.screen.shownNames.isEmpty());
    QVERIFY(!f.link.isPortOpen());
}

QV_TEST_CORE_MAIN(TestTransfer)
#include "tst_transfer.moc"
