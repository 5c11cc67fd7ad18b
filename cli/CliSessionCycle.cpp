// qvpc-cli's cycle test: "move repeat" with --count or --csv times every move and ends with the
// figures of each position, through the same cycle test as the window's.
#include "cli/CliSession.h"

#include "base/ResText.h"
#include "cli/StopSignal.h"
#include "ops/CycleTest.h"
#include "ops/MoveOperations.h"

#include <QFileInfo>
#include <QTextStream>

namespace {

QString ms(double value) {
    return QString::number(value, 'f', 1);
}

} // namespace

bool CliSession::cycleTestAsked() const {
    return m_request.choice == QLatin1String("repeat") &&
           (m_request.count > 0 || !m_request.csv.isEmpty());
}

CliOutcome CliSession::cycleTest() {
    // A record is never written over an older file by surprise.
    const QString &csv = m_request.csv;
    if (!csv.isEmpty() && QFileInfo::exists(csv) && !m_request.yes) {
        const QString told = ResText(1301).arg(csv);
        m_prompt.tell(told);
        return {OpResult::failed(OpResult::Failure::FileError, told)};
    }
    MoveOperations &moves = m_session.moves();
    CycleTest test(moves);
    QObject::connect(&moves, &MoveOperations::completed, &test, [this](const QString &position) {
        if (json())
            return;
        m_out << position << '\n';
        m_out.flush();
    });
    // Ctrl+C is the Stop button, as for a repeat without a count.
    StopSignal stop;
    QObject::connect(&stop, &StopSignal::received, &test, [this, &moves, &test] {
        if (moves.isRunning() && !moves.StopRequested())
            m_prompt.tell(ResText(1401));
        test.stop();
    });
    CliOutcome outcome = ended(test.run(m_request.count));

    if (json()) {
        const QJsonObject document = test.json();
        for (auto it = document.begin(); it != document.end(); ++it)
            m_json.insert(it.key(), it.value());
    } else if (!test.moves().isEmpty()) {
        m_out << "target\tmoves\tmin_ms\tmedian_ms\tp95_ms\tmax_ms\talarms\n";
        for (const CycleFigures &f : test.summary()) {
            m_out << f.target << '\t' << f.moves << '\t' << f.minMs << '\t' << ms(f.medianMs)
                  << '\t' << ms(f.p95Ms) << '\t' << f.maxMs << '\t' << f.alarms << '\n';
        }
        m_out.flush();
    }
    // A count that is odd, or a move that failed, leaves the feeder away from position 1.
    if (test.position() != 0 && test.position() != 1)
        m_prompt.tell(ResText(1800).arg(test.position()));
    if (!csv.isEmpty() && !test.saveCsv(csv)) {
        const QString told = ResText(1600).arg(csv);
        m_prompt.tell(told);
        if (outcome.result.isDone())
            outcome.result = OpResult::failed(OpResult::Failure::FileError, told);
    }
    return outcome;
}
