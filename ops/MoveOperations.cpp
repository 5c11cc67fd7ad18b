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

bool MoveOperations::prepare() {
    if (m_link.OpenPort() == 0 && m_link.CommCheck() == 0)
        return true;
    m_prompt.MsgBox(ResText(215));
    return false;
}

bool MoveOperations::sendMove(int target) {
    return m_link.SendCommand(QStringLiteral("0MP"), MoveReplyLength,
                              QString::number(target, 16).toUpper(),
                              MoveTimeoutMs) == Exchange::Good;
}

void MoveOperations::complete(const QString &position) {
    m_completed = position;
    emit completed(position);
}

qint16 MoveOperations::SelectMove(MoveChoice choice) {
    // Another exchange waits for its reply (the reply waits let events through): its port is not
    // ours to use or release.
    if (m_running || m_link.isBusy())
        return 1;
    m_screen.MoveCMDBTN_Muko();
    m_running = true;
    m_stopRequested = false;
    const auto end = qScopeGuard([this] {
        m_running = false;
        m_screen.MoveCMDBTN_Yuko();
        m_link.ReleasePort();
    });
    if (!prepare())
        return 1;
    // A repeat starts with position 2, so that it ends where a Stop leaves it: on position 1.
    int target = choice == MoveChoice::Position1 ? 1 : 2;
    for (;;) {
        if (!sendMove(target))
            return 1;
        complete(QString::number(target));
        if (choice != MoveChoice::Repeat)
            return 0;
        if (target == 1 && m_stopRequested)
            return 0;
        target = target == 1 ? 2 : 1;
    }
}

void MoveOperations::StopMove() {
    if (m_running)
        m_stopRequested = true;
}

qint16 MoveOperations::HomeMove() {
    if (m_running || m_link.isBusy())
        return 1;
    m_screen.MoveCMDBTN_Muko();
    m_running = true;
    const auto end = qScopeGuard([this] {
        m_running = false;
        m_screen.MoveCMDBTN_Yuko();
    });
    // A failed exchange has released or closed the port itself.
    if (!prepare() || !sendMove(HomeTarget))
        return 1;
    complete(ResText(460));
    m_link.ReleasePort();
    return 0;
}

qint16 MoveOperations::ResetController() {
    // Nothing is disabled while a reset runs, so it can be pressed while a move waits for its
    // reply: releasing the port then would pull it from under the move.
    if (m_link.isBusy())
        return 1;
    if (m_link.OpenPort() != 0) {
        m_prompt.MsgBox(ResText(215));
        return 1;
    }
    qint16 result = 1;
    if (m_link.SendCommand(QStringLiteral("0%C"), ResetReplyLength, QString(), ResetTimeoutMs) ==
            Exchange::Good &&
        m_link.CommCheck() == 0) {
        m_link.clearAlarm();
        result = 0;
    }
    m_link.ReleasePort();
    return result;
}
