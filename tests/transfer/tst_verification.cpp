// Verification of the screen's data against the simulated controller and against QV data files.
#include "TransferFixture.h"
#include "base/ResText.h"
#include "data/QvDataFile.h"
#include "support/TestEnvironment.h"

#include <QTemporaryDir>
#include <QTimer>

Q_DECLARE_METATYPE(QvData)

namespace {

const QString Ok = QStringLiteral("照合結果－ＯＫ");
const QString NgHead = QStringLiteral("照合結果－ＮＧ\r\n\r\n<一致しなかったデータ>\r\n");

} // namespace

class TestVerification : public QObject {
    Q_OBJECT
private slots:
    void init() {
        clearStoredSettings();
        setLangOffset(0);
    }

    void unmatchedList_data();
    void unmatchedList();
    void workedExampleInEnglish();
    void okRightAfterRead();
    void controllerReadFailing();
    void controllerDataUndecodable();
    void brackets_data();
    void brackets();
    void menuWhileExchangeWaits_data();
    void menuWhileExchangeWaits();
    void againstFile_data();
    void againstFile();
    void cancelledDialogEndsSilently();
    void blankFieldBeforeDialog();
    void detailsGiveBothValues_data();
    void detailsGiveBothValues();
};

// Each row changes some items of the read copy; the list names them by group.
void TestVerification::unmatchedList_data() {
    QTest::addColumn<QvData>("read");
    QTest::addColumn<bool>("parameters");
    QTest::addColumn<QString>("list");

    const QvData base = factoryData();
    QTest::newRow("equal") << base << true << QString();

    QvData rev = base;
    rev.RevDir = 1;
    QTest::newRow("rotation direction alone")
        << rev << true << QStringLiteral("\r\nｾﾝｻﾊﾟﾗﾒｰﾀ - 回転方向逆転,\r\n");
    QTest::newRow("rotation direction, parameters hidden") << rev << false << QString();

    QvData positions = base;
    positions.Acc1 = 9, positions.Pulse1 = 1, positions.PauseTime2 = 0;
    QTest::newRow("both positions")
        << positions << true
        << QStringLiteral("位置１ - 加速,位置（ﾊﾟﾙｽ）,\r\n位置２ - 停止時間,\r\n");

    QvData all = base;
    all.Vel2 = 1, all.OffsetPulse = 5, all.HomingVel = 1, all.Sp1 = 1, all.SeparateTimer = 1;
    QTest::newRow("position, sensor and homing")
        << all << true
        << QStringLiteral("\r\n\r\n位置２ - 速度,\r\nｾﾝｻﾊﾟﾗﾒｰﾀ - ｾﾊﾟﾚｰﾄﾀｲﾏ,SP1,\r\n"
                          "原点復帰ﾊﾟﾗﾒｰﾀ - 原点復帰速度,ｵﾌｾｯﾄﾊﾟﾙｽ,\r\n");
    QTest::newRow("parameters hidden leave position only")
        << all << false << QStringLiteral("位置２ - 速度,\r\n");
}

void TestVerification::unmatchedList() {
    QFETCH(QvData, read);
    QFETCH(bool, parameters);
    QFETCH(QString, list);
    QCOMPARE(UnmatchedList(factoryData(), read, parameters), list);

    ScriptedPrompt prompt;
    const QvDataCopies copies{factoryData(), read};
    QCOMPARE(CompareQvData(copies, parameters, prompt), list.isEmpty());
    QCOMPARE(prompt.texts(), QStringList{list.isEmpty() ? Ok : NgHead + list});
    QCOMPARE(prompt.shown[0].buttons, MsgButtons::OkOnly);
    QCOMPARE(prompt.shown[0].icon, MsgIcon::None);
}

// The screen differs from the controller in VEL of position 1, the pulses of position 2 and the
// restart delay.
void TestVerification::workedExampleInEnglish() {
    setLangOffset(10000);
    TransferFixture f;
    f.screen.fields = factoryData();
    f.screen.fields.Vel1 = 11, f.screen.fields.Pulse2 = 201, f.screen.fields.RestartDelay = 99;

    f.verification.PosiDataCtShogo(true);

    QCOMPARE(f.prompt.texts(),
             QStringList{QStringLiteral("Result of Verify - NG\r\n\r\n<Unmatched data>\r\n\r\n"
                                        "Position 1 - VEL,\r\nPosition 2 - Position(pulse),\r\n"
                                        "Sensor parameters - Restart Delay,\r\n")});
    // Nothing adopted.
    QCOMPARE(f.copies.working.Vel1, qint16(11));
    QVERIFY(f.screen.shownNames.isEmpty());
}

void TestVerification::okRightAfterRead() {
    TransferFixture f(false);
    f.prompt.answers = {MsgAnswer::Yes};
    f.transfer.GetfromCt();
    f.sim.clearReceived();
    f.prompt.clear();

    const VerifyResult result = f.verification.PosiDataCtShogo(true);

    QVERIFY(result.result.isDone() && result.equal);
    QCOMPARE(f.prompt.texts(), QStringList{Ok});
    QCOMPARE(f.sent().size(), 6);
    QVERIFY(!f.link.isPortOpen());
}

void TestVerification::controllerReadFailing() {
    TransferFixture f(false);
    SimFault fault = faultOn(QStringLiteral("0RD04"));
    fault.errorCode = QStringLiteral("02");
    f.sim.addFault(fault);
    f.screen.fields = factoryData();

    const VerifyResult result = f.verification.PosiDataCtShogo(false);

    QCOMPARE(result.result.failure, OpResult::Failure::ErrorReply);
    QCOMPARE(result.result.errorCode, QStringLiteral("02"));
    QVERIFY(!result.equal);
    // The exchange's message only; no read-failure message, no verdict.
    QCOMPARE(f.prompt.texts(),
             QStringList{QStringLiteral("エラーが発生しました！\r\n[") +
                         ControllerLink::errorTextFor(QStringLiteral("0%%02")) + QLatin1Char(']')});
    QCOMPARE(f.copies.read, QvData{});
    QVERIFY(!f.link.isPortOpen());
}

// Every reply arrived but a pulse count is not hexadecimal: no exchange message was shown, so the
// read-failure message is, and no verdict.
void TestVerification::controllerDataUndecodable() {
    TransferFixture f(false);
    f.sim.model().setBlock(QStringLiteral("02"), QStringLiteral("280302000G9005FF"));
    f.screen.fields = factoryData();

    const VerifyResult result = f.verification.PosiDataCtShogo(true);

    QCOMPARE(result.result.failure, OpResult::Failure::Malformed);
    QCOMPARE(result.result.text, QStringLiteral("通信エラー！(データの読み込み）"));
    QCOMPARE(f.prompt.texts(), QStringList{QStringLiteral("通信エラー！(データの読み込み）")});
    QCOMPARE(f.copies.read, QvData{});
    QVERIFY(!f.link.isPortOpen());
}

void TestVerification::brackets_data() {
    QTest::addColumn<bool>("againstFile");
    QTest::addColumn<bool>("bracket");
    QTest::newRow("controller, button") << false << true;
    QTest::newRow("controller, menu") << false << false;
    QTest::newRow("file, button") << true << true;
    QTest::newRow("file, menu") << true << false;
}

void TestVerification::brackets() {
    QFETCH(bool, againstFile);
    QFETCH(bool, bracket);
    TransferFixture f;
    f.screen.screenCheckPasses = false;

    if (againstFile)
        f.verification.PosiDataFileShogo(bracket);
    else
        f.verification.PosiDataCtShogo(bracket);

    const QStringList expected =
        bracket ? QStringList{QStringLiteral("CMDBTN_Muko"), QStringLiteral("Menyu_Muko"),
                              QStringLiteral("ScreenCheck"), QStringLiteral("CMDBTN_Yuko"),
                              QStringLiteral("Menyu_Yuko")}
                : QStringList{QStringLiteral("ScreenCheck")};
    QCOMPARE(f.screen.calls, expected);
    QVERIFY(f.sent().isEmpty());
}

// The verification menu items stay enabled while a read or write waits for a reply; choosing one
// then must leave the running operation alone: its port stays open, its progress window shown.
void TestVerification::menuWhileExchangeWaits_data() {
    QTest::addColumn<bool>("write");
    QTest::addColumn<QString>("slowLine");
    QTest::newRow("during a read") << false << QStringLiteral("0RD04");
    QTest::newRow("during a write") << true << QStringLiteral("0WD05");
}

void TestVerification::menuWhileExchangeWaits() {
    QFETCH(bool, write);
    QFETCH(QString, slowLine);
    TransferFixture f(false);
    SimFault slow = faultOn(slowLine);
    slow.pieces = 2;
    slow.pieceGapMs = 150;
    f.sim.addFault(slow);
    bool chosen = false;
    QObject::connect(&f.sim, &ControllerSimulator::lineReceived, &f.sim,
                     [&f, &chosen, slowLine](const QString &line) {
                         if (line.startsWith(slowLine))
                             QTimer::singleShot(0, &f.sim, [&f, &chosen] {
                                 f.verification.PosiDataCtShogo(false);
                                 chosen = true;
                             });
                     });
    f.screen.fields = factoryData();
    f.screen.fields.Pulse1 = 1000;
    f.screen.dataChanged = true;
    f.prompt.answers =
        write ? QList<MsgAnswer>{MsgAnswer::Ok, MsgAnswer::Ok} : QList<MsgAnswer>{MsgAnswer::No};

    if (write)
        f.transfer.LoadtoCt();
    else
        f.transfer.GetfromCt();

    QVERIFY(chosen);
    // The running operation went through as if the menu had not been touched.
    if (write) {
        QCOMPARE(f.sent().size(), 11);
        QCOMPARE(f.sent().last(), QStringLiteral("0CM3"));
        QCOMPARE(f.prompt.texts().last(), QStringLiteral("コントローラーをリセットしました。"));
        QCOMPARE(f.sim.model().restarts(), 1);
    } else {
        QCOMPARE(f.sent().size(), 6);
        QCOMPARE(f.prompt.texts().size(), 1);
        QCOMPARE(f.screen.fields, factoryData());
        QCOMPARE(f.screen.shownNames, QStringList{QStringLiteral("ｺﾝﾄﾛｰﾗ内ﾃﾞｰﾀ")});
    }
    QVERIFY(!f.screen.dataChanged);
    QCOMPARE(f.progress.events.count(QStringLiteral("show")), 1);
    QCOMPARE(f.progress.events.count(QStringLiteral("unload")), 1);
    QVERIFY(!f.link.isPortOpen());
}

// Against a file written from the read data: the verdict, the dialog's texts, and the data on
// screen still count as changed when they were.
void TestVerification::againstFile_data() {
    QTest::addColumn<bool>("parameters");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QString>("verdict");

    QTest::newRow("sensor differs, parameters hidden") << false << true << Ok;
    QTest::newRow("sensor differs, parameters shown")
        << true << false << NgHead + QStringLiteral("\r\nｾﾝｻﾊﾟﾗﾒｰﾀ - 供給動作ｶｳﾝﾀ,\r\n");
}

void TestVerification::againstFile() {
    QFETCH(bool, parameters);
    QFETCH(bool, changed);
    QFETCH(QString, verdict);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("feeder.qvd"));
    QvData inFile = factoryData();
    inFile.SupplyCounter = 9;
    QVERIFY(QvDataFile::write(path, inFile));

    TransferFixture f;
    f.screen.parametersActive = parameters;
    f.screen.fields = factoryData();
    f.screen.dataChanged = changed;
    f.dialogs.answers = {path};

    f.verification.PosiDataFileShogo(true);

    QCOMPARE(f.prompt.texts(), QStringList{verdict});
    QCOMPARE(f.dialogs.shown.size(), 1);
    const FileDialogs::Options &o = f.dialogs.shown[0].options;
    QVERIFY(!f.dialogs.shown[0].save);
    QCOMPARE(o.title, QStringLiteral("照合するＱＶデータファイルを選択する"));
    QCOMPARE(o.defaultExt, QStringLiteral("qvd"));
    QCOMPARE(o.filter, QStringLiteral("ＱＶデータファイル(*.qvd)|*.qvd|すべてのファイル(*.*)|*.*"));
    QVERIFY(o.fileName.isEmpty());
    QVERIFY(o.initialDir.isEmpty());
    QCOMPARE(f.copies.read, inFile);
    QCOMPARE(f.copies.working, factoryData());
    QCOMPARE(f.screen.dataChanged, changed);
    QVERIFY(f.screen.shownNames.isEmpty());
    QVERIFY(f.sent().isEmpty());
}

void TestVerification::cancelledDialogEndsSilently() {
    TransferFixture f;
    f.screen.fields = factoryData();
    f.dialogs.answers = {QString()};

    QCOMPARE(f.verification.PosiDataFileShogo(false).result.status, OpResult::Status::Stopped);

    QCOMPARE(f.screen.calls, QStringList{QStringLiteral("ScreenCheck")});
    QCOMPARE(f.dialogs.shown.size(), 1);
    QVERIFY(f.prompt.shown.isEmpty());
}

void TestVerification::blankFieldBeforeDialog() {
    TransferFixture f;
    f.screen.screenCheckPasses = false;
    f.dialogs.answers = {QStringLiteral("/nonexistent.qvd")};

    QCOMPARE(f.verification.PosiDataFileShogo(true).result.failure, OpResult::Failure::Refused);

    QVERIFY(f.dialogs.shown.isEmpty());
    QVERIFY(f.prompt.shown.isEmpty());
}

QV_TEST_CORE_MAIN(TestVerification)
#include "tst_verification.moc"

// The NG report keeps its text; its details give each differing item with both values, the
// screen's first. An OK verdict has none.
void TestVerification::detailsGiveBothValues_data() {
    QTest::addColumn<bool>("english");
    QTest::addColumn<bool>("againstFile");
    QTest::addColumn<QvData>("screen");
    QTest::addColumn<QString>("report");
    QTest::addColumn<QString>("details");

    QvData vel = factoryData();
    vel.Vel1 = 11;
    QTest::newRow("position 1 VEL, controller")
        << false << false << vel << NgHead + QStringLiteral("位置１ - 速度,\r\n")
        << QStringLiteral("位置１ - 速度: 画面 11 / コントローラー 10");
    QvData rev = factoryData();
    rev.RevDir = 1;
    QTest::newRow("rotation direction, controller, English")
        << true << false << rev
        << QStringLiteral("Result of Verify - NG\r\n\r\n<Unmatched data>\r\n\r\n"
                          "Sensor parameters - The direction of rotation reversed,\r\n")
        << QStringLiteral("Sensor parameters - The direction of rotation reversed: screen 1 / "
                          "controller 0");
    QvData two = factoryData();
    two.Pulse2 = 16777215, two.OffsetPulse = 600;
    QTest::newRow("position 2 and homing, file")
        << false << true << two
        << NgHead + QStringLiteral("\r\n位置２ - 位置（ﾊﾟﾙｽ）,\r\n原点復帰ﾊﾟﾗﾒｰﾀ - ｵﾌｾｯﾄﾊﾟﾙｽ,\r\n")
        << QStringLiteral("位置２ - 位置（ﾊﾟﾙｽ）: 画面 16777215 / ファイル 200\r\n"
                          "原点復帰ﾊﾟﾗﾒｰﾀ - ｵﾌｾｯﾄﾊﾟﾙｽ: 画面 600 / ファイル 2");
    QTest::newRow("equal, no details") << false << false << factoryData() << Ok << QString();
}

void TestVerification::detailsGiveBothValues() {
    QFETCH(bool, english);
    QFETCH(bool, againstFile);
    QFETCH(QvData, screen);
    QFETCH(QString, report);
    QFETCH(QString, details);
    setLangOffset(english ? 10000 : 0);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("feeder.qvd"));
    QVERIFY(QvDataFile::write(path, factoryData()));
    TransferFixture f;
    f.screen.parametersActive = true;
    f.screen.fields = screen;
    f.dialogs.answers = {path};

    const VerifyResult result =
        againstFile ? f.verification.PosiDataFileShogo(true) : f.verification.PosiDataCtShogo(true);

    QCOMPARE(f.prompt.shown.size(), 1);
    QCOMPARE(f.prompt.shown[0].text, report);
    QCOMPARE(f.prompt.shown[0].details, details);
    QCOMPARE(f.prompt.shown[0].buttons, MsgButtons::OkOnly);
    QVERIFY(result.result.isDone());
    QCOMPARE(result.equal, details.isEmpty());
}
