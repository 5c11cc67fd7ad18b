// Reading from and writing to the simulated controller over a pty: what goes over the wire, what
// the user is asked and told, what the progress window shows and what becomes of the data.
#include "TransferFixture.h"
#include "base/ResText.h"
#include "support/TestEnvironment.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

Q_DECLARE_METATYPE(QList<SimFault>)
Q_DECLARE_METATYPE(QList<MsgAnswer>)

namespace {

const QString Check = QStringLiteral("0CM1");
const QString ReadFailed = QStringLiteral("通信エラー！(データの読み込み）");
const QString WriteFailed = QStringLiteral("データの書き込みに失敗しました。");
const QString WriteQuestion =
    QStringLiteral("データをコントローラーに転送します。よろしいですか？");
const QString RestartQuestion = QStringLiteral(
    "データの転送が完了しました。\r\nコントローラーをリセットします。よろしいですか？");
const QString Restarted = QStringLiteral("コントローラーをリセットしました。");
const QString WrongCommand =
    QStringLiteral("通信データエラー！\r\n通信データのコマンドに異常が検出されました");

QString errorMessage(const QString &code) {
    return QStringLiteral("エラーが発生しました！\r\n[") +
           ControllerLink::errorTextFor(QStringLiteral("0%%") + code) + QLatin1Char(']');
}

// Data that differ from the factory values in every block, so that each block written shows.
QvData editedData() {
    QvData d = factoryData();
    d.Vel1 = 30, d.Pulse1 = 1000, d.PauseTime1 = 7;
    d.Vel2 = 12, d.Pulse2 = 600, d.PauseTime2 = 9;
    d.HomingPulse = 600, d.RevDir = 1, d.RestartDelay = 50, d.Sp1 = 1;
    return d;
}

const QStringList WrittenAll{
    QStringLiteral("0WD027803020003E807FF"), QStringLiteral("0WD0478030200025809FF"),
    QStringLiteral("0WD0530030209FFFFFFFF"), QStringLiteral("0WD00080258060002FF01"),
    QStringLiteral("0WD010832C8640F1401FF"), QStringLiteral("0WD0330030207FFFFFFFF"),
    QStringLiteral("0WD1FFFFFFFFFFFFF55AA")};

} // namespace

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

    void write_data();
    void write();
    void restartCancelledClearsChangedWithoutRestart();
    void thirdBlockFailing();
    void wrongEchoStopsTheWrite_data();
    void wrongEchoStopsTheWrite();
    void writeStoppedBeforeSending_data();
    void writeStoppedBeforeSending();
    void restartFailing();
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

// An operation's result as the rows name it: "done", "stopped", "busy" or "failed: <kind>".
static QString described(const OpResult &result) {
    if (!result.isFailed())
        return QString::fromLatin1(toString(result.status));
    return QStringLiteral("failed: ") + QString::fromLatin1(toString(result.failure));
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

void TestTransfer::write_data() {
    QTest::addColumn<bool>("parameters");
    QTest::addColumn<QStringList>("blocks");
    QTest::addColumn<QList<int>>("values");

    QTest::newRow("parameters shown") << true << WrittenAll << QList<int>{1, 2, 3, 4, 5, 6, 7};
    QTest::newRow("parameters hidden")
        << false
        << QStringList{WrittenAll[0], WrittenAll[1], WrittenAll[2], WrittenAll[5], WrittenAll[6]}
        << QList<int>{1, 2, 3, 6, 7};
}

// The write, answered OK twice: the blocks go out, the restart takes them into effect, the data
// count as unchanged.
void TestTransfer::write() {
    QFETCH(bool, parameters);
    QFETCH(QStringList, blocks);
    QFETCH(QList<int>, values);
    TransferFixture f;
    f.screen.parametersActive = parameters;
    f.screen.fields = editedData();
    f.screen.dataChanged = true;
    f.prompt.answers = {MsgAnswer::Ok, MsgAnswer::Ok};

    f.transfer.LoadtoCt();

    const QStringList restart{Check, QStringLiteral("0CM3")};
    QCOMPARE(f.sent(), QStringList(Check) + QStringList(Check) + blocks + restart);
    QCOMPARE(f.prompt.texts(), (QStringList{WriteQuestion, RestartQuestion, Restarted}));
    QCOMPARE(f.prompt.shown[0].buttons, MsgButtons::OkCancel);
    QCOMPARE(f.prompt.shown[0].icon, MsgIcon::Question);
    QCOMPARE(f.prompt.shown[1].buttons, MsgButtons::OkCancel);
    QCOMPARE(f.prompt.shown[1].icon, MsgIcon::Question);
    QCOMPARE(f.prompt.shown[2].icon, MsgIcon::None);
    QCOMPARE(f.progress.events,
             (QStringList{QStringLiteral("show"), QStringLiteral("max 7"),
                          QStringLiteral("label データをコントローラへ転送しています"),
                          QStringLiteral("unload")}));
    QCOMPARE(f.progress.values, values);
    QVERIFY(!f.screen.dataChanged);

    // The restart took the written blocks into effect: reading back gives the data written
    // (the parameters as they were when they were not sent).
    QCOMPARE(f.sim.model().restarts(), 1);
    QvData expected = editedData();
    if (!parameters) {
        const QvData factory = factoryData();
        expected.HomingPulse = factory.HomingPulse, expected.RevDir = factory.RevDir;
        expected.RestartDelay = factory.RestartDelay, expected.Sp1 = factory.Sp1;
    }
    QCOMPARE(f.transfer.ReadBlocks().code(), qint16(0));
    QCOMPARE(f.copies.read, expected);
}

void TestTransfer::restartCancelledClearsChangedWithoutRestart() {
    TransferFixture f(false);
    f.screen.fields = editedData();
    f.screen.dataChanged = true;
    f.prompt.answers = {MsgAnswer::Ok, MsgAnswer::Cancel};

    f.transfer.LoadtoCt();

    QVERIFY(!f.sent().contains(QStringLiteral("0CM3")));
    QCOMPARE(f.sent().last(), WrittenAll.last());
    QCOMPARE(f.prompt.texts(), (QStringList{WriteQuestion, RestartQuestion}));
    QVERIFY(!f.screen.dataChanged);
    QCOMPARE(f.sim.model().restarts(), 0);
    QVERIFY(!f.link.isPortOpen());
}

void TestTransfer::thirdBlockFailing() {
    TransferFixture f;
    SimFault fault = faultOn(QStringLiteral("0WD05"));
    fault.errorCode = QStringLiteral("02");
    f.sim.addFault(fault);
    f.screen.fields = editedData();
    f.screen.dataChanged = true;
    f.prompt.answers = {MsgAnswer::Ok};

    f.transfer.LoadtoCt();

    QCOMPARE(f.sent(), (QStringList{Check, Check, WrittenAll[0], WrittenAll[1], WrittenAll[2]}));
    QCOMPARE(f.prompt.texts(),
             (QStringList{WriteQuestion, errorMessage(QStringLiteral("02")), WriteFailed}));
    QCOMPARE(f.progress.values, (QList<int>{1, 2}));
    QCOMPARE(f.progress.events.last(), QStringLiteral("unload"));
    QCOMPARE(f.sim.model().pendingBlock(QStringLiteral("02")), WrittenAll[0].mid(5));
    QCOMPARE(f.sim.model().pendingBlock(QStringLiteral("04")), WrittenAll[1].mid(5));
    for (const char *later : {"00", "01", "03", "1F"})
        QVERIFY(f.sim.model().pendingBlock(QLatin1String(later)).isEmpty());
    QVERIFY(f.screen.dataChanged);
    QCOMPARE(f.screen.calls.last(), QStringLiteral("Menyu_Yuko"));
}

void TestTransfer::wrongEchoStopsTheWrite_data() {
    QTest::addColumn<QByteArray>("overwrite"); // put over the echo of block 02 from index 3 on
    QTest::newRow("echo of another block") << QByteArray("04");
    QTest::newRow("echo with NUL bytes") << QByteArray("02\0\0", 4);
    QTest::newRow("echo with another value") << QByteArray("0279");
}

// An echo that is not the line sent means the block did not arrive as sent: the write stops as
// on any failed exchange and "completed writing" is never shown.
void TestTransfer::wrongEchoStopsTheWrite() {
    QFETCH(QByteArray, overwrite);
    TransferFixture f(false);
    SimFault fault = faultOn(QStringLiteral("0WD02"));
    fault.overwriteAt = 3;
    fault.overwrite = overwrite;
    f.sim.addFault(fault);
    f.screen.fields = editedData();
    f.screen.dataChanged = true;
    f.prompt.answers = {MsgAnswer::Ok, MsgAnswer::Ok};

    f.transfer.LoadtoCt();

    QCOMPARE(f.sent(), (QStringList{Check, Check, WrittenAll[0], QStringLiteral("0CM0")}));
    QCOMPARE(f.prompt.texts(), (QStringList{WriteQuestion, WrongCommand, WriteFailed}));
    QVERIFY(f.progress.values.isEmpty());
    QVERIFY(f.screen.dataChanged);
    QCOMPARE(f.sim.model().restarts(), 0);
    QVERIFY(!f.link.isPortOpen());
}

// Each row stops the write before any block goes out.
void TestTransfer::writeStoppedBeforeSending_data() {
    QTest::addColumn<QString>("result");
    QTest::addColumn<bool>("screenCheck");
    QTest::addColumn<qint16>("vel1");
    QTest::addColumn<QString>("device"); // empty: the simulator
    QTest::addColumn<QList<SimFault>>("faults");
    QTest::addColumn<QList<MsgAnswer>>("answers");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QStringList>("messages");

    const QList<SimFault> none;
    QTest::newRow("screen check fails")
        << QStringLiteral("failed: refused by the checks") << false << qint16(10) << QString()
        << none << QList<MsgAnswer>{} << QStringList{} << QStringList{};
    QTest::newRow("question cancelled")
        << QStringLiteral("stopped") << true << qint16(10) << QString() << none
        << QList<MsgAnswer>{MsgAnswer::Cancel} << QStringList{} << QStringList{WriteQuestion};
    QTest::newRow("port cannot be opened")
        << QStringLiteral("failed: no port") << true << qint16(10)
        << QStringLiteral("/dev/null/none") << none << QList<MsgAnswer>{MsgAnswer::Ok}
        << QStringList{} << QStringList{WriteQuestion};
    SimFault checkError = faultOn(Check);
    checkError.errorCode = QStringLiteral("01");
    QTest::newRow("communication check refused")
        << QStringLiteral("failed: error reply") << true << qint16(10) << QString()
        << QList<SimFault>{checkError} << QList<MsgAnswer>{MsgAnswer::Ok} << QStringList{Check}
        << QStringList{WriteQuestion, errorMessage(QStringLiteral("01"))};
    QTest::newRow("velocity step too large to encode")
        << QStringLiteral("failed: refused by the checks") << true << qint16(9000) << QString()
        << none << QList<MsgAnswer>{MsgAnswer::Ok} << QStringList{Check}
        << QStringList{WriteQuestion, QStringLiteral("送信前ﾃﾞｰﾀ処理でｴﾗｰが発生しました。\r\n"
                                                     "処理を中止します。")};
}

void TestTransfer::writeStoppedBeforeSending() {
    QFETCH(QString, result);
    QFETCH(bool, screenCheck);
    QFETCH(qint16, vel1);
    QFETCH(QString, device);
    QFETCH(QList<SimFault>, faults);
    QFETCH(QList<MsgAnswer>, answers);
    QFETCH(QStringList, sent);
    QFETCH(QStringList, messages);
    TransferFixture f(false);
    if (!device.isEmpty())
        f.link.setDeviceOverride(device);
    for (const SimFault &fault : faults)
        f.sim.addFault(fault);
    f.screen.screenCheckPasses = screenCheck;
    f.screen.fields = editedData();
    f.screen.fields.Vel1 = vel1;
    f.screen.dataChanged = true;
    f.prompt.answers = answers;

    const OpResult outcome = f.transfer.LoadtoCt();

    QCOMPARE(described(outcome), result);
    // A failure carries the message shown after the question, if any.
    QCOMPARE(outcome.text, outcome.isFailed() ? messages.value(1) : QString());
    QCOMPARE(f.sent(), sent);
    QCOMPARE(f.prompt.texts(), messages);
    QVERIFY(f.progress.events.isEmpty());
    QVERIFY(f.screen.dataChanged);
    QVERIFY(!f.link.isPortOpen());
    QCOMPARE(f.screen.calls.first(), QStringLiteral("CMDBTN_Muko"));
    QCOMPARE(f.screen.calls.last(), QStringLiteral("Menyu_Yuko"));
}

// The check before the restart is refused: the data stay written but "changed", no restart.
void TestTransfer::restartFailing() {
    TransferFixture f;
    QObject::connect(&f.sim, &ControllerSimulator::lineReceived, &f.sim, [&f](const QString &line) {
        if (line.startsWith(QLatin1String("0WD1F"))) {
            SimFault refuse = faultOn(Check);
            refuse.errorCode = QStringLiteral("01");
            f.sim.addFault(refuse);
        }
    });
    f.screen.fields = editedData();
    f.screen.dataChanged = true;
    f.prompt.answers = {MsgAnswer::Ok, MsgAnswer::Ok};

    f.transfer.LoadtoCt();

    QCOMPARE(f.sent().last(), Check);
    QCOMPARE(f.prompt.texts(),
             (QStringList{WriteQuestion, RestartQuestion, errorMessage(QStringLiteral("01"))}));
    QCOMPARE(f.sim.model().restarts(), 0);
    QVERIFY(f.screen.dataChanged);
}

QV_TEST_CORE_MAIN(TestTransfer)
#include "tst_transfer.moc"
