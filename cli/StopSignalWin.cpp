#include "cli/StopSignal.h"

#include <QMetaObject>

#include <csignal>
#include <windows.h>

namespace {

// The object that takes the console's stops; one at a time, as with the POSIX handlers.
StopSignal *current = nullptr;
// Set by the first stop: the next one is left to the default handler, which ends the program.
volatile LONG stopped = 0;

BOOL WINAPI onConsoleControl(DWORD event) {
    const int number = event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT ? SIGINT : SIGTERM;
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT)
        return FALSE;
    if (InterlockedExchange(&stopped, 1) != 0 || !current)
        return FALSE;
    StopSignal *const target = current;
    QMetaObject::invokeMethod(
        target, [target, number] { emit target->received(number); }, Qt::QueuedConnection);
    return TRUE;
}

} // namespace

struct StopSignal::Handlers {};

StopSignal::StopSignal(QObject *parent) : QObject(parent) {
    if (current || !SetConsoleCtrlHandler(onConsoleControl, TRUE))
        return;
    current = this;
    stopped = 0;
    m_handlers = std::make_unique<Handlers>();
}

StopSignal::~StopSignal() {
    if (!m_handlers)
        return;
    SetConsoleCtrlHandler(onConsoleControl, FALSE);
    current = nullptr;
}
