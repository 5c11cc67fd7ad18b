#include "ops/MoveOperations.h"

#include "base/MainScreen.h"
#include "base/ResText.h"
#include "base/UserPrompt.h"
#include "link/ControllerLink.h"

#include <QScopeGuard>

namespace {

constexpr int MoveTimeoutMs = 5000;
constexpr qint16 MoveReplyLength = 12;
constexpr int ResetTimeoutMs = 5000;
constexpr qint16 ResetReplyLength = 7;
constexpr int HomeTarget = 0;

} // namespace

MoveOperations::MoveOperations(ControllerLink &link, UserPrompt &prompt, MainScreen &screen,
                               QObject *parent)
    : QObject(parent), m_link(link), m_prompt(prompt), m_screen(screen) {}

OpResult MoveOperations::prepare() {
    OpResult result = m_link.openAndCheck();
    if (result.isDone())
        return result;
    m_prompt.MsgBox(ResText(215));
    return result.orText(ResText(215));
}

OpResult MoveOperations::sendMove(int target) {
    emit moving(target);
    return m_link
        .SendCommand(QStringLiteral("0MP"), MoveReplyLength, QString::number(target, 16).toUpper(),
                     MoveTimeoutMs)
        .toResult();
}

void MoveOperations::complete(const QString &position) {
    m_completed = position;
    emit completed(position);
}

OpResult MoveOperations::SelectMove(MoveChoice choice) {
    // Another exchange waits for its reply (the reply waits let events through): its port is not
    // ours to use or release.
    if (m_running || m_link.isBusy())
        return OpResult::busy();
    m_screen.MoveCMDBTN_Muko();
    m_running = true;
    m_stopRequested = false;
    const auto end = qScopeGuard([this] {
        m_running = false;
        m_screen.MoveCMDBTN_Yuko();
        m_link.ReleasePort();
    });
    OpResult result = prepare();
    if (!result.isDone())
        return result;
    // A repeat starts with position 2, so that it ends where a Stop leaves it: on position 1.
    int target = choice == MoveChoice::Position1 ? 1 : 2;
    for (;;) {
        result = sendMove(target);
        if (!result.isDone())
            return result;
        complete(QString::number(target));
        if (choice != MoveChoice::Repeat || (target == 1 && m_stopRequested))
            return result;
        target = target == 1 ? 2 : 1;
    }
}

void MoveOperations::StopMove() {
    if (m_running)
        m_stopRequested = true;
}

OpResult MoveOperations::HomeMove() {
    if (m_running || m_link.isBusy())
        return OpResult::busy();
    m_screen.MoveCMDBTN_Muko();
    m_running = true;
    const auto end = qScopeGuard([this] {
        m_running = false;
        m_screen.MoveCMDBTN_Yuko();
    });
    // A failed exchange has released or closed the port itself.
    OpResult result = prepare();
    if (result.isDone())
        result = sendMove(HomeTarget);
    if (!result.isDone())
        return result;
    complete(ResText(460));
    m_link.ReleasePort();
    return result;
}

OpResult MoveOperations::ResetController() {
    // Nothing is disabled while a reset runs, so it can be pressed while a move waits for its
    // reply: releasing the port then would pull it from under the move.
    if (m_link.isBusy())
        return OpResult::busy();
    if (m_link.OpenPort() != 0) {
        m_prompt.MsgBox(ResText(215));
        return OpResult::failed(OpResult::Failure::NoPort, ResText(215));
    }
    OpResult result =
        m_link.SendCommand(QStringLiteral("0%C"), ResetReplyLength, QString(), ResetTimeoutMs)
            .toResult();
    if (result.isDone())
        result = m_link.checkCommunication().toResult();
    if (result.isDone())
        m_link.clearAlarm();
    m_link.ReleasePort();
    return result;
}
