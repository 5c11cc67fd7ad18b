#pragma once

#include "base/OpResult.h"
#include "link/ControllerScope.h"

#include <QObject>
#include <QScopeGuard>
#include <QString>

#include <functional>

class ControllerLink;
class MainScreen;
class UserPrompt;

// The position choice of Move mode (optPosiNo 0, 1, 2).
enum class MoveChoice { Position1, Position2, Repeat };

// Move mode: test moves to the two stored positions, moving back and forth until Stop, homing,
// and the controller reset. Reaches the window only through MainScreen and the completed()
// signal, so the terminal program runs the same sequences.
class MoveOperations : public QObject {
    Q_OBJECT
public:
    MoveOperations(ControllerLink &link, UserPrompt &prompt, MainScreen &screen,
                   QObject *parent = nullptr);

    // One move, or moves to 2, 1, 2, 1 ... until Stop, which always end on a completed move to 1.
    // A repeat with a count also ends after that many completed moves, wherever that leaves the
    // feeder. Done when every move was done; busy while another sequence or exchange runs;
    // otherwise the port, the check or a move failed (the user has been told).
    OpResult SelectMove(MoveChoice choice, int count = 0);
    // Stop: asks a running sequence to end after its next completed move to 1. Does nothing
    // while no sequence or homing runs, so an early Stop cannot end the next sequence.
    void StopMove();
    // "0MP0". Done: the feeder is home.
    OpResult HomeMove();
    // "0%C", then the communication check; clears the alarm display. No bracket and no question:
    // it works in both modes. Done: reset.
    OpResult ResetController();

    // A sequence or a homing runs.
    bool isRunning() const { return m_running; }
    bool StopRequested() const { return m_stopRequested; }
    // What lblKanryoNo shows: "1", "2" or text 460 for home; empty until a move completes.
    QString completedPosition() const { return m_completed; }

signals:
    // A move to position 1 or 2 (0: home) was sent and waits for the feeder.
    void moving(int target);
    // A move completed; the text is what lblKanryoNo shows now.
    void completed(const QString &position);
    // A move's command went out at sentAt (ms since the epoch, UTC) and its reply, good or not,
    // came durationMs later (a timeout: the reply limit).
    void timed(int target, qint64 sentAt, qint64 durationMs, const OpResult &result);

private:
    using RunningBracket = QScopeGuard<std::function<void()>>;
    // The move buttons disabled and the sequence marked running until the guard goes.
    RunningBracket runningBracket();
    // What a refused controller ends the operation with: busy as it is; otherwise message 215
    // (the port or the check failed), shown and as the result's text.
    OpResult refused(ControllerScope &controller);
    OpResult sendMove(ControllerScope &controller, int target);
    void complete(const QString &position);

    ControllerLink &m_link;
    UserPrompt &m_prompt;
    MainScreen &m_screen;
    bool m_running = false;
    bool m_stopRequested = false;
    QString m_completed;
};
