#include "cli/StopSignal.h"

#include <QMetaObject>

#include <csignal>
#include <windows.h>

namespace {

// Guards current against the object's end while a handler thread queues its stop.
SRWLOCK lock = SRWLOCK_INIT;
// The object that takes the console's stops; one at a time, as with the POSIX handlers.
StopSignal *current = nullptr;
// Set when that object goes, that is when the work it could stop is over.
HANDLE workOver = nullptr;
// Set by the first stop: the next Ctrl+C is left to the default handler, which ends the program.
volatile LONG stopped = 0;

// Windows ends the program 5 seconds after a close, logoff or shutdown event reached the
// handler; the block under way is given nearly all of that.
constexpr DWORD EndingWaitMs = 4500;

BOOL WINAPI onConsoleControl(DWORD event) {
    return StopSignal::consoleEvent(event) ? TRUE : FALSE;
}

} // namespace

struct StopSignal::Handlers {};

bool StopSignal::consoleEvent(unsigned long event) {
    const bool interrupt = event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT;
    const bool ending =
        event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT;
    if (!interrupt && !ending)
        return false;
    AcquireSRWLockShared(&lock);
    StopSignal *const target = current;
    const bool first = target && InterlockedExchange(&stopped, 1) == 0;
    if (first) {
        const int number = interrupt ? SIGINT : SIGTERM;
        QMetaObject::invokeMethod(
            target, [target, number] { emit target->received(number); }, Qt::QueuedConnection);
    }
    ReleaseSRWLockShared(&lock);
    if (!target)
        return false;
    if (interrupt)
        return first;
    // The program ends when this returns: not before the stop has let the block under way
    // finish and the work end (the object goes), or Windows' time is nearly up.
    WaitForSingleObject(workOver, EndingWaitMs);
    return true;
}

StopSignal::StopSignal(QObject *parent) : QObject(parent) {
    if (!workOver)
        workOver = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    AcquireSRWLockExclusive(&lock);
    const bool taken = current != nullptr;
    if (!taken && workOver) {
        current = this;
        stopped = 0;
        ResetEvent(workOver);
    }
    ReleaseSRWLockExclusive(&lock);
    if (taken || !workOver)
        return;
    if (!SetConsoleCtrlHandler(onConsoleControl, TRUE)) {
        AcquireSRWLockExclusive(&lock);
        current = nullptr;
        ReleaseSRWLockExclusive(&lock);
        return;
    }
    m_handlers = std::make_unique<Handlers>();
}

StopSignal::~StopSignal() {
    if (!m_handlers)
        return;
    AcquireSRWLockExclusive(&lock);
    current = nullptr;
    ReleaseSRWLockExclusive(&lock);
    // A handler waiting for the work's end lets the program end now.
    SetEvent(workOver);
    SetConsoleCtrlHandler(onConsoleControl, FALSE);
}
