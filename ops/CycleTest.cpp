#include "ops/CycleTest.h"

#include "ops/MoveOperations.h"

#include <QJsonArray>
#include <QSaveFile>
#include <QScopeGuard>

#include <algorithm>
#include <cmath>

namespace {

// The value below which a share p (0 to 1) of the sorted values lie, between the two nearest.
double percentile(const QList<qint64> &sorted, double p) {
    const double at = p * double(sorted.size() - 1);
    const auto below = qsizetype(std::floor(at));
    const auto above = std::min(below + 1, sorted.size() - 1);
    return double(sorted[below]) + (at - double(below)) * double(sorted[above] - sorted[below]);
}

QString startText(const QDateTime &start) {
    return start.toUTC().toString(Qt::ISODateWithMs);
}

} // namespace

QString CycleMove::resultText() const {
    if (result.isDone())
        return QStringLiteral("done");
    if (isAlarm())
        return QStringLiteral("alarm ") + result.errorCode;
    return QLatin1String(result.isFailed() ? toString(result.failure) : toString(result.status));
}

CycleFigures cycleFigures(const QList<CycleMove> &moves, int target) {
    CycleFigures figures;
    figures.target = target;
    QList<qint64> times;
    for (const CycleMove &move : moves) {
        if (move.target != target)
            continue;
        times.append(move.durationMs);
        if (move.isAlarm())
            ++figures.alarms;
    }
    figures.moves = int(times.size());
    if (times.isEmpty())
        return figures;
    std::sort(times.begin(), times.end());
    figures.minMs = times.first();
    figures.maxMs = times.last();
    figures.medianMs = percentile(times, 0.5);
    figures.p95Ms = percentile(times, 0.95);
    return figures;
}

CycleTest::CycleTest(MoveOperations &moves, QObject *parent)
    : QObject(parent), m_operations(moves) {}

OpResult CycleTest::run(int count) {
    if (m_running)
        return OpResult::busy();
    m_moves.clear();
    m_position = 0;
    m_running = true;
    const auto timed = connect(
        &m_operations, &MoveOperations::timed, this,
        [this](int target, qint64 sentAt, qint64 durationMs, const OpResult &result) {
            CycleMove move{int(m_moves.size()) + 1, target,
                           QDateTime::fromMSecsSinceEpoch(sentAt, Qt::UTC), durationMs, result};
            if (result.isDone())
                m_position = target;
            m_moves.append(move);
            emit measured(move);
        });
    const auto end = qScopeGuard([this, timed] {
        disconnect(timed);
        m_running = false;
    });
    return m_operations.SelectMove(MoveChoice::Repeat, count);
}

void CycleTest::stop() {
    m_operations.StopMove();
}

QList<CycleFigures> CycleTest::summary() const {
    QList<CycleFigures> figures;
    for (int target : {1, 2}) {
        const CycleFigures f = cycleFigures(m_moves, target);
        if (f.moves > 0)
            figures.append(f);
    }
    return figures;
}

QByteArray CycleTest::csv() const {
    QByteArray text = "move,target,start,duration_ms,result\r\n";
    for (const CycleMove &move : m_moves) {
        text += QStringLiteral("%1,%2,%3,%4,%5\r\n")
                    .arg(move.number)
                    .arg(move.target)
                    .arg(startText(move.start))
                    .arg(move.durationMs)
                    .arg(move.resultText())
                    .toUtf8();
    }
    return text;
}

QJsonObject CycleTest::json() const {
    QJsonArray rows;
    for (const CycleMove &move : m_moves) {
        rows.append(QJsonObject{{QStringLiteral("move"), move.number},
                                {QStringLiteral("target"), move.target},
                                {QStringLiteral("start"), startText(move.start)},
                                {QStringLiteral("durationMs"), move.durationMs},
                                {QStringLiteral("result"), move.resultText()}});
    }
    QJsonArray figures;
    for (const CycleFigures &f : summary()) {
        figures.append(QJsonObject{{QStringLiteral("target"), f.target},
                                   {QStringLiteral("moves"), f.moves},
                                   {QStringLiteral("minMs"), f.minMs},
                                   {QStringLiteral("medianMs"), f.medianMs},
                                   {QStringLiteral("p95Ms"), f.p95Ms},
                                   {QStringLiteral("maxMs"), f.maxMs},
                                   {QStringLiteral("alarms"), f.alarms}});
    }
    return {{QStringLiteral("moves"), rows},
            {QStringLiteral("summary"), figures},
            {QStringLiteral("position"), m_position}};
}

bool CycleTest::saveCsv(const QString &path) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray text = csv();
    return file.write(text) == text.size() && file.commit();
}
