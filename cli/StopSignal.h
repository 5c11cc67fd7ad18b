#pragma once

#include <QObject>

#include <memory>

// Ctrl+C (and SIGTERM where there are signals) as the Stop button of a running sequence. On a
// POSIX system the handler only writes a byte to a pipe; the event loop (the waits for a reply
// run one) reads it and emits received(). On Windows the console's control handler, which runs in
// a thread of its own, queues received() to the event loop. After the first stop the default
// action is back, so a second Ctrl+C ends the program at once. The previous handlers return when
// the object goes. (StopSignalPosix.cpp, StopSignalWin.cpp.)
class StopSignal : public QObject {
    Q_OBJECT
public:
    explicit StopSignal(QObject *parent = nullptr);
    ~StopSignal() override;

    // The handlers are in place.
    bool isActive() const { return m_handlers != nullptr; }

signals:
    // SIGINT for Ctrl+C, SIGTERM for a request to end.
    void received(int signalNumber);

private:
    struct Handlers;
    std::unique_ptr<Handlers> m_handlers;
};
