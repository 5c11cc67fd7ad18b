#pragma once

#include "base/OpResult.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QString>

class MoveOperations;

// One timed move of a cycle test.
struct CycleMove {
    int number = 0;        // 1 for the first move
    int target = 0;        // position 1 or 2
    QDateTime start;       // when its command went out (UTC)
    qint64 durationMs = 0; // from the command sent to its reply
    OpResult result;       // done, or why the move failed

    bool isAlarm() const { return result.failure == OpResult::Failure::ErrorReply; }
    // "done", "alarm 0B", or the failure's name ("timeout").
    QString resultText() const;
};

// The figures of one position's moves: how many, the shortest, median, 95th percentile and
// longest time (ms), and how many of them the controller refused with an alarm.
struct CycleFigures {
    int target = 0;
    int moves = 0;
    qint64 minMs = 0;
    double medianMs = 0;
    double p95Ms = 0;
    qint64 maxMs = 0;
    int alarms = 0;
};

// The figures of one target's moves in the list; moves 0 when none went there. The median and
// the 95th percentile are interpolated between the two nearest times.
CycleFigures cycleFigures(const QList<CycleMove> &moves, int target);

// A cycle test: the repeat of Move mode (2, 1, 2, 1 ...) for a number of completed moves or
// until Stop, each move timed. The terminal's "move repeat --count" and the window's cycle test
// run it; they show what it measured and save it as CSV or JSON.
class CycleTest : public QObject {
    Q_OBJECT
public:
    explicit CycleTest(MoveOperations &moves, QObject *parent = nullptr);

    // Runs until count moves have completed (0: until stop()). A stop lets the feeder end on a
    // completed move to 1, as the Stop button does. The result is the repeat's; the moves made
    // stay here until the next run.
    OpResult run(int count);
    // The Stop button of the test: asks the running repeat to end.
    void stop();
    bool isRunning() const { return m_running; }

    const QList<CycleMove> &moves() const { return m_moves; }
    // The figures of position 1 and of position 2, for those that were moved to.
    QList<CycleFigures> summary() const;
    // The position of the last completed move (0: none).
    int position() const { return m_position; }

    // One line a move: number, target, start (ISO 8601, UTC, ms), duration in ms, result; a
    // heading first. CR LF line ends, so that spreadsheets on either system read it.
    QByteArray csv() const;
    // {"moves": [{"move", "target", "start", "durationMs", "result"}], "summary": [{"target",
    // "moves", "minMs", "medianMs", "p95Ms", "maxMs", "alarms"}], "position": n}
    QJsonObject json() const;
    // The CSV into the file, replacing it whole or leaving it as it was. False: not written.
    bool saveCsv(const QString &path) const;

signals:
    // A move was timed (its reply came, or it failed).
    void measured(const CycleMove &move);

private:
    MoveOperations &m_operations;
    QList<CycleMove> m_moves;
    bool m_running = false;
    int m_position = 0;
};
