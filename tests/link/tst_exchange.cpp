// The command exchange over a pty against the simulated controller.
#include "LinkFixture.h"
#include "base/ResText.h"
#include "support/TestEnvironment.h"

#include <QSignalSpy>
#include <QTimer>

Q_DECLARE_METATYPE(QList<SimFault>)
Q_DECLARE_METATYPE(OpResult::Failure)

namespace {

const QString Timeout =
    QStringLiteral("通信タイムアウトエラー！\r\n以下の項目を確認してください。\r\n"
                   " １．コントローラーの電源が入っていますか？\r\n"
                   " ２．通信ケーブルが接続されていますか？");
const QString WrongLength =
    QStringLiteral("通信データ長エラー！\r\n通信データのデータ長に異常が検出されました");
const QString WrongPrefix =
    QStringLiteral("通信データエラー！\r\n通信データのコマンドに異常が検出されました");

QString errorMessage(const QString &text) {
    return QStringLiteral("エラーが発生しました！\r\n[") + text + QLatin1Char(']');
}

SimFault fault(const QString &match) {
    SimFault f;
    f.match = match;
    return f;
}

// A device that opens and then refuses the line settings, as a driver may.
class RefusingLine : public Line {
public:
    bool open(const QString &) override {
        setError(Error::SettingsRefused, QStringLiteral("Invalid argument"));
        return false;
    }
    void close() override { setState(State::Closed); }
    qint64 write(const QByteArray &) override { return -1; }
    qint64 bytesAvailable() const override { return 0; }
    QByteArray read(qint64) override { return {}; }
    bool waitForReadyRead(int) override { return false; }
    bool drain(int) override { return false; }
};

} // namespace

class TestExchange : public QObject {
    Q_OBJECT
private slots:
    void init() {
        clearStoredSettings();
        setLangOffset(0);
    }

    void reply_data();
    void reply();
    void errorReplyInEnglish();
    void goodReplyClearsLampKeepsCode();
    void staleInputDiscarded_data();
    void staleInputDiscarded();
    void portThatCannotOpen();
    void lineThatRefusesItsSettings();
    void releaseFollowsOccupyPort_data();
    void releaseFollowsOccupyPort();
    void nestedExchangeRefused();
    void vanishedPortEndsWait();
    void restartLineLeavesBeforeReturn();
    void timeoutTravelsWithEachCommand();
};

// Each row: the faults of the simulator, then what the link must make of the check "0CM1".
void TestExchange::reply_data() {
    QTest::addColumn<QList<SimFault>>("faults");
    QTest::addColumn<OpResult::Failure>("result");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("portOpen");
    QTest::addColumn<QString>("alarmCode");

    const QStringList checkOnly{QStringLiteral("0CM1")};
    const QStringList withRecovery{QStringLiteral("0CM1"), QStringLiteral("0CM0")};

    QTest::newRow("good six characters") << QList<SimFault>{} << OpResult::Failure::None
                                         << checkOnly << QStringList{} << true << QString();
    SimFault pieces = fault({});
    pieces.pieces = 4;
    QTest::newRow("reply in pieces") << QList<SimFault>{pieces} << OpResult::Failure::None
                                     << checkOnly << QStringList{} << true << QString();

    SimFault after = fault({});
    after.trailing = "AB";
    QTest::newRow("characters after CR LF, never ends again")
        << QList<SimFault>{after} << OpResult::Failure::Timeout << checkOnly << QStringList{Timeout}
        << false << QString();
    SimFault afterLine = fault(QStringLiteral("0CM1"));
    afterLine.trailing = "AB\r\n";
    QTest::newRow("characters after CR LF, ends again")
        << QList<SimFault>{afterLine} << OpResult::Failure::Malformed << withRecovery
        << QStringList{WrongLength} << true << QString();

    SimFault silent = fault({});
    silent.silent = true;
    QTest::newRow("silent") << QList<SimFault>{silent} << OpResult::Failure::Timeout << checkOnly
                            << QStringList{Timeout} << false << QString();

    SimFault e03 = fault({});
    e03.errorCode = QStringLiteral("03");
    QTest::newRow("error 03") << QList<SimFault>{e03} << OpResult::Failure::ErrorReply << checkOnly
                              << QStringList{errorMessage(QStringLiteral("通信データ長エラー"))}
                              << true << QStringLiteral("03");
    SimFault e00 = fault({});
    e00.errorCode = QStringLiteral("00");
    QTest::newRow("error 00 still fails")
        << QList<SimFault>{e00} << OpResult::Failure::ErrorReply << checkOnly
        << QStringList{errorMessage(QStringLiteral("エラーなし"))} << true << QStringLiteral("00");
    SimFault e0C = fault({});
    e0C.errorCode = QStringLiteral("0C");
    QTest::newRow("unknown code 0C")
        << QList<SimFault>{e0C} << OpResult::Failure::ErrorReply << checkOnly
        << QStringList{errorMessage({})} << true << QStringLiteral("0C");
    SimFault e0b = fault({});
    e0b.errorCode = QStringLiteral("0b");
    QTest::newRow("lower-case 0b")
        << QList<SimFault>{e0b} << OpResult::Failure::ErrorReply << checkOnly
        << QStringList{errorMessage({})} << true << QStringLiteral("0b");

    SimFault longer = fault(QStringLiteral("0CM1"));
    longer.lengthDelta = 1;
    QTest::newRow("one too long") << QList<SimFault>{longer} << OpResult::Failure::Malformed
                                  << withRecovery << QStringList{WrongLength} << true << QString();
    SimFault shorter = fault(QStringLiteral("0CM1"));
    shorter.lengthDelta = -1;
    QTest::newRow("one too short") << QList<SimFault>{shorter} << OpResult::Failure::Malformed
                                   << withRecovery << QStringList{WrongLength} << true << QString();
    SimFault foreign = fault(QStringLiteral("0CM1"));
    foreign.prefix = QStringLiteral("0RD");
    QTest::newRow("foreign prefix")
        << QList<SimFault>{foreign} << OpResult::Failure::Malformed << withRecovery
        << QStringList{WrongPrefix} << true << QString();

    SimFault quietRecovery = fault(QStringLiteral("0CM0"));
    quietRecovery.silent = true;
    QTest::newRow("silent recovery")
        << QList<SimFault>{longer, quietRecovery} << OpResult::Failure::Malformed << withRecovery
        << QStringList{WrongLength} << true << QString();
    SimFault errorRecovery = fault(QStringLiteral("0CM0"));
    errorRecovery.errorCode = QStringLiteral("05");
    QTest::newRow("error reply to the recovery")
        << QList<SimFault>{foreign, errorRecovery} << OpResult::Failure::ErrorReply << withRecovery
        << QStringList{errorMessage(QStringLiteral("EEPROM書き込みエラー"))} << true
        << QStringLiteral("05");
    // The recovery reply is judged by how it begins, also when its wait ran out of time.
    SimFault unfinishedErrorRecovery = errorRecovery;
    unfinishedErrorRecovery.trailing = "0";
    QTest::newRow("error reply to the recovery, then no line end")
        << QList<SimFault>{longer, unfinishedErrorRecovery} << OpResult::Failure::ErrorReply
        << withRecovery << QStringList{errorMessage(QStringLiteral("EEPROM書き込みエラー"))} << true
        << QStringLiteral("05");
}

void TestExchange::reply() {
    QFETCH(QList<SimFault>, faults);
    QFETCH(OpResult::Failure, result);
    QFETCH(QStringList, sent);
    QFETCH(QStringList, messages);
    QFETCH(bool, portOpen);
    QFETCH(QString, alarmCode);

    LinkFixture f(true);
    for (const SimFault &each : faults)
        f.sim.addFault(each);
    const OpResult check = f.check();
    QCOMPARE(check.failure, result);
    QCOMPARE(check.isDone(), result == OpResult::Failure::None);
    QCOMPARE(check.text, messages.value(0));
    QCOMPARE(check.errorCode, alarmCode);
    QCOMPARE(f.sim.receivedLines(), sent);
    QCOMPARE(f.prompt.texts(), messages);
    for (const auto &box : f.prompt.shown) {
        QCOMPARE(box.buttons, MsgButtons::OkOnly);
        QCOMPARE(box.icon, MsgIcon::None);
    }
    QCOMPARE(f.link->isPortOpen(), portOpen);
    QCOMPARE(f.link->alarmLampShown(), !alarmCode.isEmpty());
    QCOMPARE(f.link->alarmCode(), alarmCode);
}

void TestExchange::errorReplyInEnglish() {
    setLangOffset(10000);
    LinkFixture f;
    SimFault e = fault({});
    e.errorCode = QStringLiteral("0A");
    f.sim.addFault(e);
    const Valued<QString> read =
        f.told([](ControllerScope &c) { return c.readBlock(QStringLiteral("02")); });
    QCOMPARE(read.result.failure, OpResult::Failure::ErrorReply);
    QCOMPARE(f.prompt.texts(), QStringList{QStringLiteral(
                                   "Communication error occurs!\r\n[Output pulse can not match]")});
    QCOMPARE(read.result.errorCode, QStringLiteral("0A"));
    QCOMPARE(read.result.alarmText, QStringLiteral("Output pulse can not match"));
    QCOMPARE(f.link->alarmComment(), QStringLiteral("Output pulse can not match"));
}

void TestExchange::goodReplyClearsLampKeepsCode() {
    LinkFixture f;
    SimFault e = fault({});
    e.errorCode = QStringLiteral("0B");
    e.times = 1;
    f.sim.addFault(e);
    QSignalSpy changed(f.link.get(), &ControllerLink::alarmChanged);
    QVERIFY(f.check().isFailed());
    QVERIFY(f.link->alarmLampShown());
    QCOMPARE(f.link->alarmComment(), QStringLiteral("原点ＬＳ未検出"));
    QVERIFY(f.check().isDone());
    QVERIFY(!f.link->alarmLampShown());
    QCOMPARE(f.link->alarmCode(), QStringLiteral("0B"));
    QCOMPARE(f.link->alarmComment(), QStringLiteral("No Error"));
    QVERIFY(changed.count() >= 2);
    f.link->clearAlarm();
    QCOMPARE(f.link->alarmCode(), QString());
    QCOMPARE(f.link->alarmComment(), QString());
}

void TestExchange::staleInputDiscarded_data() {
    QTest::addColumn<QString>("when");
    QTest::newRow("between exchanges") << "open";
    QTest::newRow("before the port opened") << "closed";
    QTest::newRow("a late answer after a timeout") << "late";
}

// Whatever waits on the line before a command goes out is no part of its reply: it is dropped,
// and the log shows what was dropped.
void TestExchange::staleInputDiscarded() {
    QFETCH(QString, when);
    const bool late = when == QLatin1String("late");
    LinkFixture f(when == QLatin1String("open"));
    CommLog log;
    f.link->setLog(&log);
    SimFault slow = fault(QStringLiteral("0CM1"));
    slow.times = 1;
    slow.delayMs = 1500;
    if (late)
        f.sim.addFault(slow);
    QCOMPARE(f.check().isDone(), !late);
    f.link->ReleasePort();
    QCOMPARE(f.link->isPortOpen(), when == QLatin1String("open"));
    if (!late)
        f.sim.sendUnsolicited("0CM0\r\n"); // a recovery answer, the worst that can wait
    // Give the bytes time to arrive.
    QTest::qWait(late ? slow.delayMs : 100);

    QVERIFY(f.check().isDone());
    QCOMPARE(f.sim.receivedLines(), (QStringList{QStringLiteral("0CM1"), QStringLiteral("0CM1")}));
    QCOMPARE(f.prompt.texts(), late ? QStringList{Timeout} : QStringList{});
    const QStringList dropped = log.lines().filter(QStringLiteral(" <-x "));
    QCOMPARE(dropped.size(), 1);
    QVERIFY2(dropped[0].endsWith(QStringLiteral(": 0") + (late ? "CM1" : "CM0") + "<CR><LF>"),
             qPrintable(dropped[0]));
}

void TestExchange::portThatCannotOpen() {
    LinkFixture f;
    QSignalSpy states(f.link.get(), &ControllerLink::portStateChanged);
    PortMap::setEntry(1, QStringLiteral("/dev/no-such-port"));
    QVERIFY(!f.link->OpenPort().isDone());
    // The refusal names the port, its device and why, for a front end to tell.
    const OpResult refused = f.link->controller().refusal();
    QCOMPARE(refused.failure, OpResult::Failure::NoPort);
    QCOMPARE(refused.port, QStringLiteral("COM1"));
    QVERIFY2(refused.reason.startsWith(QStringLiteral("COM1（/dev/no-such-port）を開けません：")),
             qPrintable(refused.reason));
    QCOMPARE(f.link->openFailureText(), refused.reason);
    QCOMPARE(f.link->portState(), PortState::OpenFailed);
    QCOMPARE(states.count(), 2);
    QVERIFY(f.prompt.shown.isEmpty());
    QVERIFY(f.sim.receivedLines().isEmpty());
}

// A device that opens but refuses 9600 baud 8N1 is not left open at an unknown speed, and the
// refusal says so, not that it could not be opened.
void TestExchange::lineThatRefusesItsSettings() {
    LinkFixture f;
    f.link->setSerialLine(std::make_unique<RefusingLine>());
    const OpResult opened = f.link->OpenPort();
    QCOMPARE(opened.failure, OpResult::Failure::NoPort);
    QCOMPARE(opened.reason, QStringLiteral("COM1（%1）を開けません：%2")
                                .arg(f.sim.devicePath(), ResText(1547).arg("Invalid argument")));
    QVERIFY(!f.link->isPortOpen());
    QCOMPARE(f.link->portState(), PortState::OpenFailed);
    QCOMPARE(f.link->controller().refusal().reason, opened.reason);
}

void TestExchange::releaseFollowsOccupyPort_data() {
    QTest::addColumn<bool>("occupy");
    QTest::newRow("kept") << true;
    QTest::newRow("released") << false;
}

void TestExchange::releaseFollowsOccupyPort() {
    QFETCH(bool, occupy);
    LinkFixture f(occupy);
    QSignalSpy changes(f.link.get(), &ControllerLink::portStateChanged);
    for (int i = 0; i < 2; ++i) {
        // Every way out of the scope releases the port: a done check, and a refused read.
        {
            const ControllerScope controller = f.link->controller();
            QVERIFY(controller.isHeld());
        }
        QCOMPARE(f.link->isPortOpen(), occupy);
    }
    // Kept open, the port opens once; released, it opens and closes for each operation.
    const auto open = [](const QList<QVariant> &a) {
        return a[0].value<PortState>() == PortState::Open;
    };
    QCOMPARE(int(std::count_if(changes.cbegin(), changes.cend(), open)), occupy ? 1 : 2);
    QCOMPARE(open(changes.last()), occupy);
}

void TestExchange::nestedExchangeRefused() {
    LinkFixture f;
    SimFault slow = fault(QStringLiteral("0CM1"));
    slow.pieces = 2;
    slow.pieceGapMs = 150;
    f.sim.addFault(slow);
    OpResult nested;
    QTimer::singleShot(50, f.link.get(), [&] {
        QVERIFY(f.link->isBusy());
        nested = f.link->controller().refusal();
    });
    QVERIFY(f.check().isDone());
    QCOMPARE(nested.status, OpResult::Status::Busy);
    QCOMPARE(f.sim.receivedLines(), QStringList{QStringLiteral("0CM1")});
    QVERIFY(f.link->isPortOpen());
    QVERIFY(f.prompt.shown.isEmpty());
}

void TestExchange::vanishedPortEndsWait() {
    LinkFixture f;
    SimFault drop = fault(QStringLiteral("0CM1"));
    drop.drop = true;
    f.sim.addFault(drop);
    QSignalSpy changes(f.link.get(), &ControllerLink::portStateChanged);
    // A wait that did not end with the line would end by the timer, as a timeout.
    const OpResult gone = f.check();
    QCOMPARE(gone.failure, OpResult::Failure::PortGone);
    QCOMPARE(gone.reason, QStringLiteral("COM1（%1）の回線が切れました。").arg(f.sim.devicePath()));
    QVERIFY(!f.link->isPortOpen());
    QVERIFY(f.prompt.shown.isEmpty());
    QCOMPARE(changes.last()[0].value<PortState>(), PortState::Lost);
    // The next operation finds no port.
    QVERIFY(!f.link->OpenPort().isDone());
}

void TestExchange::restartLineLeavesBeforeReturn() {
    LinkFixture f(false);
    {
        ControllerScope controller = f.link->controller();
        QVERIFY(controller.restart().isDone());
    }
    QVERIFY(!f.link->isPortOpen());
    QTRY_COMPARE_WITH_TIMEOUT(f.sim.receivedLines(),
                              (QStringList{QStringLiteral("0CM1"), QStringLiteral("0CM3")}), 1000);
    QCOMPARE(f.sim.model().restarts(), 1);
}

// A long wait (a move) right after the 1 s communication check is not cut at 1 s, and the
// check after it waits its own 1 s again.
void TestExchange::timeoutTravelsWithEachCommand() {
    LinkFixture f;
    SimFault slow = fault(QStringLiteral("0RV"));
    slow.delayMs = 1500;
    f.sim.addFault(slow);
    QVERIFY(f.check().isDone());
    QVERIFY(f.controller().version().isDone());
    QVERIFY(f.prompt.shown.isEmpty());

    SimFault silent = fault(QStringLiteral("0CM1"));
    silent.silent = true;
    f.sim.addFault(silent);
    QElapsedTimer waited;
    waited.start();
    QCOMPARE(f.check().failure, OpResult::Failure::Timeout);
    // The check's own second, not the version's five.
    QVERIFY(waited.elapsed() >= commandForm(ControllerCommand::CommCheck).timeoutMs);
}

QV_TEST_CORE_MAIN(TestExchange)
#include "tst_exchange.moc"
