#pragma once

#include "base/OpResult.h"
#include "iomon/IoSignals.h"
#include "link/ControllerScope.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <array>

class ControllerLink;
class ControllerScope;
class UserPrompt;

// The I/O monitor: while monitoring runs it reads the controller's I/O block "20" every 200 ms,
// keeps which lamps are red, and sends a pending output change with "0WS" before the next read.
// The I/O monitor window and qvpc-cli drive the same object. Only one exchange of its own runs at
// a time: a tick that falls due while one waits for its reply is skipped.
class IoMonitor : public QObject {
    Q_OBJECT
public:
    static constexpr int PollIntervalMs = 200;

    IoMonitor(ControllerLink &link, UserPrompt &prompt, QObject *parent = nullptr);

    // As the window finds it when it loads: stopped, port bytes 0, every lamp white, nothing
    // requested.
    void reset();

    // The monitor button: starts monitoring when it is stopped, stops it otherwise.
    void toggleMonitoring();
    bool isMonitoring() const { return !TusinStop; }
    // The last tick stopped monitoring because an exchange failed, and how it failed (done while
    // nothing failed since monitoring started).
    bool failed() const { return m_failure.isFailed(); }
    const OpResult &failure() const { return m_failure; }

    // Double-click on an output lamp: that output is switched on the next tick. Two requests
    // before the tick switch it once. Refused while a stop is pending.
    void requestToggle(int signal);
    // That output in this state on the next write, the others as shown; a write goes out on the
    // next tick even when nothing changes.
    void requestState(int signal, bool on);

    // Ends monitoring: at once when no exchange waits, otherwise when the running tick ends.
    void StopIoCheck();

    // One poll (the timer's tick): a pending output change first, then the read, then the lamps.
    // Busy: skipped, because an exchange of the program still waits.
    OpResult tick();

    IoPorts ports() const { return m_ports; }
    UserPrompt &prompt() const { return m_prompt; }
    // Whether the signal's red lamp shows.
    bool lampOn(int signal) const { return m_lamps[size_t(signal)]; }

signals:
    // A good read of the I/O block: when its reply came (ms on the monitor's steady clock) and
    // the port bytes. The timeline and the recordings take their reads from here.
    void portsRead(qint64 ms, IoPorts ports);
    // The lamps were shown from the port bytes (after a read).
    void lampsChanged();
    // Monitoring started or stopped: the button's caption and whether Close may be used.
    void monitoringChanged(bool running);

private:
    OpResult ReadIoState();
    void IoStateHyoji();
    OpResult WriteOutputChangeToCt();
    // How the port's refusal or an exchange ended, for the tick, its message shown: done and
    // busy as they are; a
    // failure kept as the failure, with message 215 where the port could not be opened or went
    // (nothing else tells those).
    OpResult settled(ControllerScope &controller, const OpResult &result);
    // Keeps the first failure since monitoring started; returns why.
    OpResult fail(const OpResult &why);
    void enterStopped();

    ControllerLink &m_link;
    UserPrompt &m_prompt;
    QTimer timerInputOutput;
    QElapsedTimer m_clock;
    IoPorts m_ports;
    std::array<bool, IoSignals::Count> m_lamps{};
    // Each output's state as last shown (EmptyFlg, TeisiFlg, ToridasiFlg, EscapeFlg), by signal.
    std::array<bool, IoSignals::Count> m_outputOn{};
    std::array<bool, IoSignals::Count> OutputToggle{};
    bool OutputHenkoAri = false;
    bool TusinTyu = false;
    bool TusinStop = true;
    bool IoCheckTeisi = false;
    OpResult m_failure;
};
