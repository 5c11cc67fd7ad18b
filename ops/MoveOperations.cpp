#include "ops/MoveOperations.h"

#include "base/MainScreen.h"
#include "base/ResText.h"
#include "base/UserPrompt.h"
#include "data/ExchangeMessage.h"
#include "link/ControllerLink.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QScopeGuard>

#include <optional>

namespace {

constexpr int HomeTarget = 0;

} // namespace

MoveOperations::MoveOperations(ControllerLink &link, UserPrompt &prompt, MainScreen &screen,
                               QObject *parent)
    : QObject(parent), m_link(link), m_prompt(prompt), m_screen(screen) {}

OpResult MoveOperations::refused(ControllerScope &controller) {
    OpResult result = controller.refusal();
    if (result.status == OpResult::Status::Busy)
        return result;
    presentExchange(m_prompt, controller, result);
    m_prompt.MsgBox(ResText(215));
    return result.orText(ResText(215));
}

OpResult MoveOperations::sendMove(ControllerScope &controller, int target) {
    emit moving(target);
    const qint64 sentAt = QDateTime::currentMSecsSinceEpoch();
    QElapsedTimer clock;
    clock.start();
    const OpResult result = controller.move(target);
    emit timed(target, sentAt, clock.elapsed(), result);
    presentExchange(m_prompt, controller, result);
    return result;
}

auto MoveOperations::runningBracket() -> RunningBracket {
    m_screen.MoveCMDBTN_Muko();
    m_running = true;
    return qScopeGuard(std::function<void()>([this] {
        m_running = false;
        m_screen.MoveCMDBTN_Yuko();
    }));
}

void MoveOperations::complete(const QString &position) {
    m_completed = position;
    emit completed(position);
}

OpResult MoveOperations::SelectMove(MoveChoice choice, int count) {
    // Another exchange waits for its reply (the reply waits let events through): its port is not
    // ours to use or release, the move buttons not ours to enable again.
    if (m_running)
        return OpResult::busy();
    std::optional<RunningBracket> end;
    ControllerScope controller = m_link.controller(ControllerLink::Opening::Checked, [&] {
        end.emplace(runningBracket());
        m_stopRequested = false;
    });
    if (!controller.isHeld())
        return refused(controller);
    // A repeat starts with position 2, so that it ends where a Stop leaves it: on position 1.
    int target = choice == MoveChoice::Position1 ? 1 : 2;
    for (int moves = 1;; ++moves) {
        const OpResult result = sendMove(controller, target);
        if (!result.isDone())
            return result;
        complete(QString::number(target));
        if (choice != MoveChoice::Repeat || (target == 1 && m_stopRequested) || moves == count)
            return result;
        target = target == 1 ? 2 : 1;
    }
}

void MoveOperations::StopMove() {
    if (m_running)
        m_stopRequested = true;
}

OpResult MoveOperations::HomeMove() {
    if (m_running)
        return OpResult::busy();
    std::optional<RunningBracket> end;
    ControllerScope controller =
        m_link.controller(ControllerLink::Opening::Checked, [&] { end.emplace(runningBracket()); });
    if (!controller.isHeld())
        return refused(controller);
    const OpResult result = sendMove(controller, HomeTarget);
    if (result.isDone())
        complete(ResText(460));
    return result;
}

OpResult MoveOperations::ResetController() {
    // Nothing is disabled while a reset runs, so it can be pressed while a move waits for its
    // reply: releasing the port then would pull it from under the move.
    ControllerScope controller = m_link.controller(ControllerLink::Opening::PortOnly);
    if (!controller.isHeld())
        return refused(controller);
    OpResult result = controller.reset();
    if (result.isDone())
        result = controller.checkCommunication();
    presentExchange(m_prompt, controller, result);
    if (result.isDone())
        m_link.clearAlarm();
    return result;
}
