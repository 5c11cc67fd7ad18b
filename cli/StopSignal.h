#pragma once

#include <QObject>

#include <csignal>

class QSocketNotifier;

// SIGINT and SIGTERM as the Stop button of a running sequence. The handler only writes a byte to
// a pipe; the event loop (the waits for a reply run one) reads it and emits received(). After
// the first signal of a kind the default action is back, so a second Ctrl+C ends the program at
// once. The previous handlers return when the object goes.
class StopSignal : public QObject {
    Q_OBJECT
public:
    explicit StopSignal(QObject *parent = nullptr);
    ~StopSignal() override;

    // The pipe and the handlers are in place.
    bool isActive() const { return m_notifier != nullptr; }

signals:
    void received(int signalNumber);

private:
    void onReadable();

    QSocketNotifier *m_notifier = nullptr;
    struct sigaction m_oldInt = {};
    struct sigaction m_oldTerm = {};
};
