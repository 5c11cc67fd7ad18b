// Move mode on the simulated controller: the lines each sequence sends, where Stop ends a repeat,
// what a failure leaves on the screen, homing, and the reset of the alarm display.
#include "base/ResText.h"
#include "ops/MoveOperations.h"
#include "support/TestEnvironment.h"
#include "transfer/TransferFixture.h"

Q_DECLARE_METATYPE(MoveChoice)
Q_DECLARE_METATYPE(SimFault)

namespace {

const QString Check = QStringLiteral("0CM1");
const QStringList Brackets{QStringLiteral("MoveCMDBTN_Muko"), QStringLiteral("MoveCMDBTN_Yuko")};

QString errorMessage(const QString &code) {
    return ResText(215) + QStringLiteral("\r\n[") +
           ControllerLink::errorTextFor(QStringLiteral("0%%") + code) + QLatin1Char(']');
}

// The session on the simulator with quick moves; the port is released after each operation.
struct MoveFixture : TransferFixture {
    MoveOperations &moves = session.moves();
    QStringList completed;

    MoveFixture() : TransferFixture(false) {
        sim.model().setMoveTimeScale(0.2);
        QObject::connect(&moves, &MoveOperations::completed, &moves,
                         [this](const QString &position) { completed.append(position); });
    }

    // Runs `action` when the controller receives its n-th line, while that line's reply is
    // awaited: as a click during a move.
    void onLine(int n, std::function<void()> action) {
        QObject::connect(&sim, &ControllerSimulator::lineReceived, &moves, [this, n, action] {
            if (sim.receivedLines().size() == n)
                action();
        });
    }
};

} // namespace

class TestMoves : public QObject {
    Q_OBJECT
private slots:
    void init() {
        clearStoredSettings();
        setLangOffset(0);
    }

    void sequence_data();
    void sequence();
    void failure_data();
    void failure();
    void homing();
    void resetClearsAlarm();
    void resetWhileMoveWaits();
};

void TestMoves::sequence_data() {
    QTest::addColumn<MoveChoice>("choice");
    QTest::addColumn<bool>("earlyStop"); // Stop pressed before the sequence starts
    QTest::addColumn<int>("stopAtLine"); // Stop pressed while this line's move runs (0: never)
    QTest::addColumn<QStringList>("lines");

    const QStringList twice{Check, "0MP2", "0MP1", "0MP2", "0MP1"};
    QTest::newRow("position 1") << MoveChoice::Position1 << false << 0
                                << QStringList{Check, "0MP1"};
    QTest::newRow("position 2") << MoveChoice::Position2 << false << 0
                                << QStringList{Check, "0MP2"};
    QTest::newRow("repeat, Stop during the first move")
        << MoveChoice::Repeat << false << 2 << QStringList{Check, "0MP2", "0MP1"};
    QTest::newRow("repeat, Stop during a later move to 2")
        << MoveChoice::Repeat << false << 4 << twice;
    QTest::newRow("repeat, Stop during a move to 1") << MoveChoice::Repeat << false << 5 << twice;
    QTest::newRow("repeat, Stop pressed before it started")
        << MoveChoice::Repeat << true << 4 << twice;
}

// A single move sends one command; a repeat alternates 2, 1, ... and ends on a completed 1.
void TestMoves::sequence() {
    QFETCH(MoveChoice, choice);
    QFETCH(bool, earlyStop);
    QFETCH(int, stopAtLine);
    QFETCH(QStringList, lines);
    MoveFixture f;
    if (earlyStop)
        f.moves.StopMove();
    bool runningAtStop = false;
    if (stopAtLine > 0)
        f.onLine(stopAtLine, [&] {
            runningAtStop = f.moves.isRunning();
            f.moves.StopMove();
        });

    QCOMPARE(f.moves.SelectMove(choice), qint16(0));

    QCOMPARE(f.sent(), lines);
    QStringList positions;
    for (const QString &line : lines.mid(1))
        positions.append(line.right(1));
    QCOMPARE(f.completed, positions);
    QCOMPARE(f.moves.completedPosition(), positions.last());
    QCOMPARE(f.prompt.texts(), QStringList());
    QCOMPARE(f.screen.calls, Brackets);
    QVERIFY(runningAtStop || stopAtLine == 0);
    QVERIFY(!f.link.isPortOpen());
}

void TestMoves::failure_data() {
    QTest::addColumn<MoveChoice>("choice");
    QTest::addColumn<SimFault>("fault");
    QTest::addColumn<QString>("alarm");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("completed");
    QTest::addColumn<QStringList>("messages");

    SimFault refused = faultOn("0MP1");
    refused.errorCode = "09";
    QTest::newRow("repeat refused on the way back to 1")
        << MoveChoice::Repeat << refused << QString() << QStringList{Check, "0MP2", "0MP1"}
        << QStringList{"2"} << QStringList{errorMessage("09")};
    QTest::newRow("alarm held by the controller")
        << MoveChoice::Position2 << SimFault() << "0B" << QStringList{Check, "0MP2"}
        << QStringList() << QStringList{errorMessage("0B")};
    SimFault silent = faultOn(Check);
    silent.silent = true;
    const QString timedOut =
        ResText(1100) + "\r\n" + ResText(1101) + "\r\n" + ResText(1102) + "\r\n" + ResText(1103);
    QTest::newRow("no answer to the check")
        << MoveChoice::Position1 << silent << QString() << QStringList{Check} << QStringList()
        << QStringList{timedOut, ResText(215)};
}

// A failing move ends the sequence at once; the last completed position stays shown and the
// controls come back.
void TestMoves::failure() {
    QFETCH(MoveChoice, choice);
    QFETCH(SimFault, fault);
    QFETCH(QString, alarm);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, completed);
    QFETCH(QStringList, messages);
    MoveFixture f;
    if (!fault.match.isEmpty())
        f.sim.addFault(fault);
    f.sim.model().setAlarm(alarm);

    QCOMPARE(f.moves.SelectMove(choice), qint16(1));

    QCOMPARE(f.sent(), lines);
    QCOMPARE(f.completed, completed);
    QCOMPARE(f.moves.completedPosition(), completed.value(completed.size() - 1));
    QCOMPARE(f.prompt.texts(), messages);
    QCOMPARE(f.screen.calls, Brackets);
    QVERIFY(!f.moves.isRunning());
    QVERIFY(!f.link.isPortOpen());
}

// Homing shows text 460; a homing that fails leaves the last position shown.
void TestMoves::homing() {
    MoveFixture f;
    QCOMPARE(f.moves.HomeMove(), qint16(0));
    QCOMPARE(f.sent(), (QStringList{Check, "0MP0"}));
    QCOMPARE(f.moves.completedPosition(), QStringLiteral("原点"));
    QVERIFY(!f.link.isPortOpen());

    QCOMPARE(f.moves.SelectMove(MoveChoice::Position2), qint16(0));
    f.sim.model().setAlarm("0B");
    QCOMPARE(f.moves.HomeMove(), qint16(1));
    QCOMPARE(f.moves.completedPosition(), QStringLiteral("2"));
    QCOMPARE(f.prompt.texts(), QStringList{errorMessage("0B")});
    QCOMPARE(f.screen.calls, Brackets + Brackets + Brackets);
}

// After an alarm, the reset empties the alarm code and text (not "No Error") and hides the lamp;
// the controller moves again.
void TestMoves::resetClearsAlarm() {
    MoveFixture f;
    f.sim.model().setAlarm("0B");
    f.moves.SelectMove(MoveChoice::Position1);
    QVERIFY(f.link.alarmLampShown());
    QCOMPARE(f.link.alarmCode(), QStringLiteral("0B"));
    f.sim.clearReceived();
    f.prompt.clear();
    f.screen.calls.clear();

    QCOMPARE(f.moves.ResetController(), qint16(0));

    QCOMPARE(f.sent(), (QStringList{"0%C", Check}));
    QVERIFY(!f.link.alarmLampShown());
    QCOMPARE(f.link.alarmCode(), QString());
    QCOMPARE(f.link.alarmComment(), QString());
    QCOMPARE(f.prompt.texts(), QStringList());
    QCOMPARE(f.screen.calls, QStringList()); // no bracket
    QVERIFY(!f.link.isPortOpen());
    QCOMPARE(f.moves.SelectMove(MoveChoice::Position1), qint16(0));
}

// The reset button stays usable during a move; pressed while a move waits for its reply, it
// must neither send nor release the port under the move.
void TestMoves::resetWhileMoveWaits() {
    MoveFixture f;
    qint16 resetResult = 0;
    f.onLine(2, [&] {
        resetResult = f.moves.ResetController();
        f.moves.StopMove();
    });

    QCOMPARE(f.moves.SelectMove(MoveChoice::Repeat), qint16(0));

    QCOMPARE(resetResult, qint16(1));
    QCOMPARE(f.sent(), (QStringList{Check, "0MP2", "0MP1"}));
    QCOMPARE(f.completed, (QStringList{"2", "1"}));
    QCOMPARE(f.prompt.texts(), QStringList());
}

QV_TEST_CORE_MAIN(TestMoves)
#include "tst_moves.moc"
