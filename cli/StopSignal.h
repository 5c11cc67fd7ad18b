#pragma once

#include <QObject>

#include <memory>

// Ctrl+C (and SIGTERM where there are signals) as the Stop button of a running sequence. On a
// POSIX system the handler only writes a byte to a pipe; the event loop (the waits for a reply
// run one) reads it and emits received(). On Windows the console's control handler, which runs in
// a thread of its own, queues received() to the event loop: SIGINT for Ctrl+C and Ctrl+Break,
// SIGTERM for the console window closed, logoff and shutdown, after which Windows ends the
// program once the handler returns; so the handler returns only when the object has gone (the
// work it stops is over) or Windows' time is nearly up. After the first stop the default action
// is back, so a second Ctrl+C ends the program at once. The previous handlers return when the
// object goes. (StopSignalPosix.cpp, StopSignalWin.cpp.)
class StopSignal : public QObject {
    Q_OBJECT
public:
    explicit StopSignal(QObject *parent = nullptr);
    ~StopSignal() override;

    // The handlers are in place.
    bool isActive() const { return m_handlers != nullptr; }
    // Windows: what the console's control handler does with an event (CTRL_C_EVENT ...), in the
    // handler's own thread; true when it was taken.
    static bool consoleEvent(unsigned long event);

signals:
    // SIGINT for Ctrl+C, SIGTERM for a request to end.
    void received(int signalNumber);

private:
    struct Handlers;
    std::unique_ptr<Handlers> m_handlers;
};
