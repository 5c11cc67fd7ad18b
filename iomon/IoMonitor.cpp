#include "iomon/IoMonitor.h"

#include "base/ResText.h"
#include "base/UserPrompt.h"
#include "data/ExchangeMessage.h"
#include "link/ControllerLink.h"

IoMonitor::IoMonitor(ControllerLink &link, UserPrompt &prompt, QObject *parent)
    : QObject(parent), m_link(link), m_prompt(prompt) {
    timerInputOutput.setObjectName(QStringLiteral("timerInputOutput"));
    // A precise timer keeps its 200 ms steps from the start, so the reads do not drift.
    timerInputOutput.setTimerType(Qt::PreciseTimer);
    timerInputOutput.setInterval(PollIntervalMs);
    connect(&timerInputOutput, &QTimer::timeout, this, [this] { tick(); });
    m_clock.start();
}

void IoMonitor::reset() {
    timerInputOutput.stop();
    m_ports = {};
    m_lamps.fill(false);
    m_outputOn.fill(false);
    OutputToggle.fill(false);
    OutputHenkoAri = false;
    TusinStop = true;
    IoCheckTeisi = false;
    m_failure = OpResult::done();
}

void IoMonitor::toggleMonitoring() {
    if (TusinStop) {
        TusinStop = false;
        // Starting again outweighs a stop still pending from the tick that runs.
        IoCheckTeisi = false;
        m_failure = OpResult::done();
        timerInputOutput.start();
    } else {
        TusinStop = true;
        timerInputOutput.stop();
    }
    emit monitoringChanged(!TusinStop);
}

void IoMonitor::requestToggle(int signal) {
    if (IoCheckTeisi || !IoSignals::table()[size_t(signal)].isOutput())
        return;
    OutputToggle[size_t(signal)] = true;
    OutputHenkoAri = true;
}

void IoMonitor::requestState(int signal, bool on) {
    if (IoCheckTeisi || !IoSignals::table()[size_t(signal)].isOutput())
        return;
    OutputToggle[size_t(signal)] = m_outputOn[size_t(signal)] != on;
    OutputHenkoAri = true;
}

void IoMonitor::StopIoCheck() {
    IoCheckTeisi = true;
    if (!TusinTyu)
        enterStopped();
}

void IoMonitor::enterStopped() {
    timerInputOutput.stop();
    m_link.ReleasePort();
    IoCheckTeisi = false;
    const bool wasRunning = !TusinStop;
    TusinStop = true;
    if (wasRunning || m_failure.isFailed())
        emit monitoringChanged(false);
}

OpResult IoMonitor::tick() {
    // The exchange processes events while it waits, so the timer falls due meanwhile.
    if (TusinTyu)
        return OpResult::busy();
    TusinTyu = true;
    OpResult step;
    if (!OutputHenkoAri) {
        step = ReadIoState();
        if (step.isDone())
            IoStateHyoji();
    }
    // Also when the request came in during the read.
    if (step.isDone() && OutputHenkoAri) {
        step = WriteOutputChangeToCt();
        if (step.status != OpResult::Status::Busy) {
            // Read back also after a failed write, so the lamps show what the controller has.
            const OpResult read = ReadIoState();
            IoStateHyoji();
            if (step.isDone())
                step = read;
        }
    }
    TusinTyu = false;
    // Any failure ends monitoring for good: timer off, port released, the button offers Start.
    if (step.isFailed() || IoCheckTeisi)
        enterStopped();
    return step;
}

OpResult IoMonitor::settled(ControllerScope &controller, const OpResult &result) {
    using F = OpResult::Failure;
    presentExchange(m_prompt, controller, result);
    if (!result.isFailed())
        return result;
    // Nothing tells it when the port cannot be opened or went away; the monitor must not stop
    // without a word.
    if (result.failure == F::NoPort || result.failure == F::PortGone) {
        m_prompt.MsgBox(ResText(215));
        return fail(OpResult(result).orText(ResText(215)));
    }
    return fail(result);
}

OpResult IoMonitor::fail(const OpResult &why) {
    // The first failure is what ended monitoring; what follows in the same tick only adds to it.
    if (!m_failure.isFailed())
        m_failure = why;
    return why;
}

OpResult IoMonitor::ReadIoState() {
    ControllerScope controller = m_link.controller(ControllerLink::Opening::PortOnly);
    if (!controller.isHeld())
        return settled(controller, controller.refusal());
    const Valued<QString> reply = controller.readIo();
    if (!reply.isDone())
        return settled(controller, reply.result);
    // Port bytes that are no numbers would light made-up lamps.
    const bool read = IoSignals::portsFromReply(reply.value, m_ports);
    controller.release();
    if (!read) {
        m_prompt.MsgBox(ResText(215));
        return fail(OpResult::failed(OpResult::Failure::Malformed, ResText(215)));
    }
    emit portsRead(m_clock.elapsed(), m_ports);
    return reply.result;
}

void IoMonitor::IoStateHyoji() {
    const auto &all = IoSignals::table();
    for (size_t i = 0; i < all.size(); ++i) {
        m_lamps[i] = all[i].isActive(m_ports);
        if (all[i].isOutput())
            m_outputOn[i] = m_lamps[i];
    }
    emit lampsChanged();
}

OpResult IoMonitor::WriteOutputChangeToCt() {
    const auto &all = IoSignals::table();
    int mask = 0;
    for (size_t i = 0; i < all.size(); ++i) {
        if (!all[i].isOutput())
            continue;
        if (OutputToggle[i]) {
            m_outputOn[i] = !m_outputOn[i];
            OutputToggle[i] = false;
        }
        if (m_outputOn[i])
            mask += all[i].mask;
    }
    // The requests are taken now: a double-click during the wait is sent on the next tick.
    OutputHenkoAri = false;
    ControllerScope controller = m_link.controller(ControllerLink::Opening::PortOnly);
    const OpResult step =
        settled(controller, controller.isHeld() ? controller.setOutputs(IoSignals::outputData(mask))
                                                : controller.refusal());
    if (step.isDone()) {
        controller.release();
    } else {
        OutputHenkoAri = true;
        if (step.isFailed())
            StopIoCheck();
    }
    return step;
}
