// The commands of qvpc-cli that run the controller operations of Move mode and the controller
// modes, through the same objects as the window's buttons and menus.
#include "cli/CliSession.h"

#include "base/ResText.h"
#include "cli/StopSignal.h"
#include "ops/ControllerModes.h"
#include "ops/MoveOperations.h"

#include <QJsonArray>
#include <QTextStream>

#include <memory>

CliOutcome CliSession::moveTo() {
    if (cycleTestAsked())
        return cycleTest();
    MoveOperations &moves = m_session.moves();
    // Each position as it completes, so that a script or a person sees the feeder go.
    QJsonArray positions;
    QObject::connect(&moves, &MoveOperations::completed, &moves,
                     [this, &positions](const QString &position) {
                         if (json()) {
                             positions.append(position);
                             return;
                         }
                         m_out << position << '\n';
                         m_out.flush();
                     });
    MoveChoice choice = MoveChoice::Position1;
    if (m_request.choice == QLatin1String("2"))
        choice = MoveChoice::Position2;
    else if (m_request.choice == QLatin1String("repeat"))
        choice = MoveChoice::Repeat;
    // Only a repeat has an end to wait for; a single move cannot be stopped in the window either,
    // so Ctrl+C keeps its usual meaning there.
    std::unique_ptr<StopSignal> stop;
    if (choice == MoveChoice::Repeat) {
        stop = std::make_unique<StopSignal>();
        QObject::connect(stop.get(), &StopSignal::received, &moves, [this, &moves] {
            if (moves.isRunning() && !moves.StopRequested())
                m_prompt.tell(ResText(1401));
            moves.StopMove();
        });
    }
    const CliOutcome outcome = ended(moves.SelectMove(choice));
    if (json())
        m_json.insert(QStringLiteral("positions"), positions);
    return outcome;
}

CliOutcome CliSession::home() {
    return doneWord(m_session.moves().HomeMove(), "home");
}

CliOutcome CliSession::reset() {
    return doneWord(m_session.moves().ResetController(), "reset");
}

// Standard output is for scripts: the same word in every language once the operation is done
// (the window shows the completed position's text).
CliOutcome CliSession::doneWord(const OpResult &result, const char *word) {
    if (result.isDone() && !json()) {
        m_out << word << '\n';
        m_out.flush();
    }
    return ended(result);
}

CliOutcome CliSession::version() {
    const Valued<QString> version = m_session.modes().ViewCtVersion();
    if (version.isDone() && json()) {
        m_json.insert(QStringLiteral("version"), version.value);
    } else if (version.isDone()) {
        m_out << version.value << '\n';
        m_out.flush();
    }
    return ended(version.result);
}

CliOutcome CliSession::mode() {
    ControllerModes &modes = m_session.modes();
    const bool external = m_request.choice == QLatin1String("external");
    if (json())
        m_json.insert(QStringLiteral("mode"), m_request.choice);
    OpResult result = external ? modes.ModeGaibu() : modes.ModeTrancefer();
    // The window says nothing when the controller answers but not with the echo; a script must
    // learn why it failed.
    if (result.failure == OpResult::Failure::Unconfirmed) {
        result.text = ResText(1400).arg(result.text);
        m_prompt.tell(result.text);
    }
    return ended(result);
}
