// Move mode and the controller modes on the simulated controller: the lines each operation
// sends, where Stop ends a repeat, what a failure leaves, the reset of the alarm display, and
// nothing done into another operation's exchange.
#include "base/MessageLines.h"
#include "base/ResText.h"
#include "ops/ControllerModes.h"
#include "ops/CycleTest.h"
#include "ops/MoveOperations.h"
#include "support/TestEnvironment.h"
#include "transfer/TransferFixture.h"

Q_DECLARE_METATYPE(MoveChoice)
Q_DECLARE_METATYPE(SimFault)

namespace {

// The session on the simulator with quick moves; the port is released after each operation.
struct OpsFixture : TransferFixture {
    MoveOperations &moves = session.moves();
    ControllerModes &modes = session.modes();
    QString completed; // every completed position in order

    OpsFixture() : TransferFixture(false) {
        sim.model().setMoveTimeScale(0.2);
        QObject::connect(&moves, &MoveOperations::completed, &moves,
                         [this](const QString &position) { completed += position; });
    }

    // What happened on the line, to the port and on the screen, in order: "> 0CM1" a line the
    // controller received, "open" and "closed" the port, "msg ..." a message shown.
    QStringList events;
    void recordEvents() {
        QObject::connect(&sim, &ControllerSimulator::lineReceived, &moves,
                         [this] { events.append("> " + sim.receivedLines().constLast()); });
        QObject::connect(&link, &ControllerLink::portStateChanged, &moves, [this](PortState s) {
            events.append(s == PortState::Open ? "open" : "closed");
        });
        prompt.onShown = [this](const QString &text) { events.append("msg " + text); };
    }

    // Runs `action` while the reply to the controller's n-th line is awaited.
    void onLine(int n, std::function<void()> action) {
        QObject::connect(&sim, &ControllerSimulator::lineReceived, &moves, [this, n, action] {
            if (sim.receivedLines().size() == n)
                action();
        });
    }
};

} // namespace

class TestOps : public QObject {
    Q_OBJECT
private slots:
    void init() {
        clearStoredSettings();
        setLangOffset(0);
    }

    void sequence_data() {
        QTest::addColumn<MoveChoice>("choice");
        QTest::addColumn<bool>("earlyStop");  // Stop pressed before the sequence
        QTest::addColumn<int>("stopAtLine");  // Stop pressed during this line's move (0: never)
        QTest::addColumn<QString>("refused"); // the controller refuses this line with code 09
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("completed");
        const QStringList twice{Check, "0MP2", "0MP1", "0MP2", "0MP1"};
        QTest::newRow("position 1") << MoveChoice::Position1 << false << 0 << QString()
                                    << QStringList{Check, "0MP1"} << "1";
        QTest::newRow("repeat, Stop during the first move")
            << MoveChoice::Repeat << false << 2 << QString() << twice.mid(0, 3) << "21";
        QTest::newRow("repeat, Stop during a move to 1")
            << MoveChoice::Repeat << false << 5 << QString() << twice << "2121";
        QTest::newRow("repeat, Stop pressed before it started")
            << MoveChoice::Repeat << true << 4 << QString() << twice << "2121";
        QTest::newRow("repeat refused on the way back to 1")
            << MoveChoice::Repeat << false << 0 << "0MP1" << twice.mid(0, 3) << "2";
    }

    // A single move sends one command; a repeat alternates 2, 1, ... and ends on a completed 1;
    // a refused move ends the sequence with the last completed position kept.
    void sequence() {
        QFETCH(MoveChoice, choice);
        QFETCH(bool, earlyStop);
        QFETCH(int, stopAtLine);
        QFETCH(QString, refused);
        QFETCH(QStringList, lines);
        QFETCH(QString, completed);
        OpsFixture f;
        SimFault fault = faultOn(refused);
        fault.errorCode = "09";
        if (!refused.isEmpty())
            f.sim.addFault(fault);
        if (earlyStop)
            f.moves.StopMove();
        f.onLine(stopAtLine, [&] { f.moves.StopMove(); });

        QCOMPARE(f.moves.SelectMove(choice).code(), qint16(refused.isEmpty() ? 0 : 1));

        QCOMPARE(f.sent(), lines);
        QCOMPARE(f.completed, completed);
        QCOMPARE(f.moves.completedPosition(), completed.right(1));
        const QString refusal = ResText(215) + "\r\n[" + ResText(269) + "]";
        QCOMPARE(f.prompt.texts(), refused.isEmpty() ? QStringList() : QStringList{refusal});
        QCOMPARE(f.screen.calls, (QStringList{"MoveCMDBTN_Muko", "MoveCMDBTN_Yuko"}));
        QVERIFY(!f.link.isPortOpen());
    }

    void cycleTest_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("stopAtLine");  // Stop pressed during this line's move (0: never)
        QTest::addColumn<QString>("alarmOn"); // the controller refuses this line with alarm 0B
        QTest::addColumn<QString>("targets");
        QTest::addColumn<int>("position");
        QTest::newRow("six moves") << 6 << 0 << QString() << "212121" << 1;
        QTest::newRow("an odd count ends on 2") << 3 << 0 << QString() << "212" << 2;
        QTest::newRow("until Stop, pressed during the third move")
            << 0 << 4 << QString() << "2121" << 1;
        QTest::newRow("an alarm on the way back") << 6 << 0 << "0MP1"
                                                  << "21" << 2;
    }

    // The repeat for a count or until Stop, each move timed from its command to its reply (no
    // shorter than the controller's move time), with the figures per position.
    void cycleTest() {
        QFETCH(int, count);
        QFETCH(int, stopAtLine);
        QFETCH(QString, alarmOn);
        QFETCH(QString, targets);
        QFETCH(int, position);
        OpsFixture f;
        constexpr int MoveMs = 60;
        f.sim.model().setMoveTime(MoveMs);
        SimFault alarm = faultOn(alarmOn);
        alarm.errorCode = "0B";
        if (!alarmOn.isEmpty())
            f.sim.addFault(alarm);
        CycleTest test(f.moves);
        f.onLine(stopAtLine, [&] { test.stop(); });

        QCOMPARE(test.run(count).isDone(), alarmOn.isEmpty());

        QStringList lines{Check};
        QString measured;
        for (const CycleMove &move : test.moves()) {
            lines.append(QStringLiteral("0MP%1").arg(move.target));
            measured += QString::number(move.target);
            if (move.result.isDone())
                QVERIFY2(move.durationMs >= MoveMs, qPrintable(QString::number(move.durationMs)));
        }
        QCOMPARE(measured, targets);
        QCOMPARE(f.sent(), lines);
        QCOMPARE(test.position(), position);
        QCOMPARE(test.moves().last().resultText(),
                 alarmOn.isEmpty() ? QStringLiteral("done") : QStringLiteral("alarm 0B"));
        int alarms = 0;
        for (const CycleFigures &figures : test.summary()) {
            QCOMPARE(figures.moves, int(targets.count(QString::number(figures.target))));
            alarms += figures.alarms;
        }
        QCOMPARE(alarms, alarmOn.isEmpty() ? 0 : 1);
    }

    void figures_data() {
        QTest::addColumn<QList<qint64>>("times");
        QTest::addColumn<QList<double>>("expected"); // min, median, 95th percentile, max
        QTest::newRow("one move") << QList<qint64>{120} << QList<double>{120, 120, 120, 120};
        QTest::newRow("two moves") << QList<qint64>{200, 100} << QList<double>{100, 150, 195, 200};
        QTest::newRow("three, unordered")
            << QList<qint64>{300, 100, 200} << QList<double>{100, 200, 290, 300};
        QList<qint64> twenty;
        for (int i = 20; i >= 1; --i)
            twenty.append(i * 10);
        QTest::newRow("twenty") << twenty << QList<double>{10, 105, 190.5, 200};
    }

    // The figures of one position leave the other's moves out.
    void figures() {
        QFETCH(QList<qint64>, times);
        QFETCH(QList<double>, expected);
        QList<CycleMove> moves;
        for (qint64 ms : times) {
            moves.append(CycleMove{int(moves.size()) + 1, 1, QDateTime(), ms, OpResult::done()});
            moves.append(CycleMove{int(moves.size()) + 1, 2, QDateTime(), 9999, OpResult::done()});
        }
        const CycleFigures f = cycleFigures(moves, 1);
        QCOMPARE(f.moves, int(times.size()));
        QCOMPARE((QList<double>{double(f.minMs), f.medianMs, f.p95Ms, double(f.maxMs)}), expected);
    }

    // After an alarm the reset empties its code and text (not "No Error") and hides the lamp,
    // with no bracket; pressed while a move waits, it leaves the move and its port alone.
    void reset() {
        OpsFixture f;
        f.sim.model().setAlarm("0B");
        QCOMPARE(f.moves.HomeMove().code(), qint16(1));
        QCOMPARE(f.link.alarmCode(), QStringLiteral("0B"));
        f.sim.clearReceived();
        f.screen.calls.clear();

        QCOMPARE(f.moves.ResetController().code(), qint16(0));
        QCOMPARE(f.sent(), (QStringList{"0%C", Check}));
        QVERIFY(!f.link.alarmLampShown());
        QCOMPARE(f.link.alarmCode() + f.link.alarmComment(), QString());
        QCOMPARE(f.screen.calls, QStringList());

        f.sim.clearReceived();
        qint16 duringMove = 0;
        f.onLine(2, [&] {
            duringMove = f.moves.ResetController().code();
            f.moves.StopMove();
        });
        QCOMPARE(f.moves.SelectMove(MoveChoice::Repeat).code(), qint16(0));
        QCOMPARE(duringMove, qint16(1));
        QCOMPARE(f.sent(), (QStringList{Check, "0MP2", "0MP1"}));
    }

    void modes_data() {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("fault"); // on the last line: silent, reply:TEXT or error:CODE
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("portOpenAfter");
        const QString timedOut = ResText(1100) + "\r\n" + ResText(1101) + "\r\n" + ResText(1102) +
                                 "\r\n" + ResText(1103);
        QTest::newRow("external start mode")
            << "external" << 0 << QString() << QStringList{Check, "0CM0"}
            << QStringList{ResText(229)} << true;
        QTest::newRow("external start mode not echoed")
            << "external" << 0 << "reply:0CM1" << QStringList{Check, "0CM0"} << QStringList()
            << true;
        QTest::newRow("communication mode")
            << "communication" << 0 << QString() << QStringList{Check} << QStringList{ResText(230)}
            << true;
        QTest::newRow("communication mode, no answer")
            << "communication" << 0 << "silent" << QStringList{Check}
            << QStringList{timedOut, ResText(215)} << false;
        QTest::newRow("version, Japanese")
            << "version" << 0 << QString() << QStringList{Check, "0RV"}
            << QStringList{"このコントローラーのバージョンは、140です。"} << false;
        QTest::newRow("version, English")
            << "version" << 10000 << QString() << QStringList{Check, "0RV"}
            << QStringList{"The Version of this controller is 140."} << false;
        QTest::newRow("version refused")
            << "version" << 0 << "error:01" << QStringList{Check, "0RV"}
            << QStringList{ResText(215) + "\r\n[" + ResText(261) + "]", ResText(231)} << false;
    }

    // Each runs inside the buttons' and file menu's bracket; the mode switches keep the port
    // open, the version query releases it.
    void modes() {
        QFETCH(QString, operation);
        QFETCH(int, offset);
        QFETCH(QString, fault);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, messages);
        QFETCH(bool, portOpenAfter);
        setLangOffset(qint16(offset));
        OpsFixture f;
        SimFault spoil = faultOn(lines.last());
        spoil.silent = fault == QLatin1String("silent");
        spoil.reply = fault.startsWith("reply:") ? fault.mid(6) : QString();
        spoil.errorCode = fault.startsWith("error:") ? fault.mid(6) : QString();
        if (!fault.isEmpty())
            f.sim.addFault(spoil);

        const OpResult result = operation == "external"        ? f.modes.ModeGaibu()
                                : operation == "communication" ? f.modes.ModeTrancefer()
                                                               : f.modes.ViewCtVersion().result;

        // The result names the fault and carries the first message shown (or the reply that
        // did not confirm the mode).
        const QString kind = fault.isEmpty()              ? "done"
                             : fault == "silent"          ? "timeout"
                             : fault.startsWith("reply:") ? "not confirmed"
                                                          : "error reply";
        QCOMPARE(result.isDone() ? "done" : toString(result.failure), kind);
        QCOMPARE(result.text, result.isDone()      ? QString()
                              : messages.isEmpty() ? fault.mid(6)
                                                   : messages.first());
        QCOMPARE(f.sent(), lines);
        QCOMPARE(f.prompt.texts(), messages);
        QCOMPARE(f.screen.calls,
                 (QStringList{"CMDBTN_Muko", "Menyu_Muko", "CMDBTN_Yuko", "Menyu_Yuko"}));
        QCOMPARE(f.link.isPortOpen(), portOpenAfter);
    }

    void failureToldInItsPlace_data() {
        QTest::addColumn<QString>("operation"); // "home", "version" or "external"
        QTest::addColumn<SimFault>("fault");
        QTest::addColumn<QStringList>("events");
        const QString timeout =
            joinLines({ResText(1100), ResText(1101), ResText(1102), ResText(1103)});
        const QString length = "msg " + joinLines({ResText(1105), ResText(1106)});
        const QString error = "msg " + joinLines({ResText(215), "[" + ResText(263) + "]"});
        const auto on = [](const QString &line, int lengthDelta, const QString &code) {
            SimFault f = faultOn(line);
            f.silent = lengthDelta == 0 && code.isEmpty();
            f.lengthDelta = lengthDelta;
            f.errorCode = code;
            return f;
        };
        const QStringList start{"open", "> " + Check};
        // A timeout closes the port before its message.
        QTest::newRow("timeout") << "home" << on("0MP", 0, {})
                                 << start + QStringList{"> 0MP0", "closed", "msg " + timeout};
        // A reply of the wrong length: the recovery line, the port given back, the message.
        QTest::newRow("wrong length") << "home" << on("0MP", 1, {})
                                      << start + QStringList{"> 0MP0", "> 0CM0", "closed", length};
        // An error reply: the message, then the port given back.
        QTest::newRow("error reply")
            << "home" << on("0MP", 0, "03") << start + QStringList{"> 0MP0", error, "closed"};
        // The check's error reply: its message, the port given back, the operation's message.
        QTest::newRow("error reply to the check")
            << "home" << on(Check, 0, "03")
            << start + QStringList{error, "closed", "msg " + ResText(215)};
        QTest::newRow("version of the wrong length")
            << "version" << on("0RV", -1, {})
            << start + QStringList{"> 0RV", "> 0CM0", "closed", length, "msg " + ResText(231)};
        // The mode switch keeps its port, but not after an error reply.
        QTest::newRow("error reply to the mode switch")
            << "external" << on("0CM0", 0, "03") << start + QStringList{"> 0CM0", error, "closed"};
    }

    // A failed exchange's message comes where it always came among the lines on the wire and
    // the port's closing, before the operation's own.
    void failureToldInItsPlace() {
        QFETCH(QString, operation);
        QFETCH(SimFault, fault);
        QFETCH(QStringList, events);
        OpsFixture f;
        f.sim.addFault(fault);
        f.recordEvents();
        const OpResult result = operation == "version"    ? f.modes.ViewCtVersion().result
                                : operation == "external" ? f.modes.ModeGaibu()
                                                          : f.moves.HomeMove();
        QVERIFY(result.isFailed());
        QCOMPARE(f.events, events);
    }

    // The version menu stays enabled while a read waits for a reply: choosing it then leaves
    // the read alone instead of sending into its exchange and reporting a failure.
    void versionWhileReadWaits() {
        OpsFixture f;
        qint16 version = 0;
        f.onLine(3, [&] { version = f.modes.ViewCtVersion().result.code(); });
        QCOMPARE(f.transfer.ReadBlocks().code(), qint16(0));
        QCOMPARE(version, qint16(1));
        QCOMPARE(f.sent().size(), 6);
        QCOMPARE(f.prompt.texts(), QStringList());
    }
};

QV_TEST_CORE_MAIN(TestOps)
#include "tst_ops.moc"
