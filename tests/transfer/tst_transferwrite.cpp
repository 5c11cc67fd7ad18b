// Writing to the simulated controller over a pty: what goes over the wire, what the user is
// asked and told, what the progress window shows and what becomes of the data.
#include "TransferCases.h"
#include "base/ResText.h"
#include "support/TestEnvironment.h"

class TestTransferWrite : public QObject {
    Q_OBJECT
private slots:
    void init() {
        clearStoredSettings();
        setLangOffset(0);
    }

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

void TestTransferWrite::write_data() {
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
void TestTransferWrite::write() {
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

void TestTransferWrite::restartCancelledClearsChangedWithoutRestart() {
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

void TestTransferWrite::thirdBlockFailing() {
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

void TestTransferWrite::wrongEchoStopsTheWrite_data() {
    QTest::addColumn<QByteArray>("overwrite"); // put over the echo of block 02 from index 3 on
    QTest::newRow("echo of another block") << QByteArray("04");
    QTest::newRow("echo with NUL bytes") << QByteArray("02\0\0", 4);
    QTest::newRow("echo with another value") << QByteArray("0279");
}

// An echo that is not the line sent means the block did not arrive as sent: the write stops as
// on any failed exchange and "completed writing" is never shown.
void TestTransferWrite::wrongEchoStopsTheWrite() {
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
void TestTransferWrite::writeStoppedBeforeSending_data() {
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

void TestTransferWrite::writeStoppedBeforeSending() {
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
void TestTransferWrite::restartFailing() {
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

QV_TEST_CORE_MAIN(TestTransferWrite)
#include "tst_transferwrite.moc"
