#include "iomon/IoMonitor.h"

#include "base/ResText.h"
#include "base/UserPrompt.h"
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

IoMonitor::Tick IoMonitor::tick() {
    // The exchange processes events while it waits, so the timer falls due meanwhile.
    if (TusinTyu)
        return Tick::Skipped;
    TusinTyu = true;
    Step step = Step::Good;
    if (!OutputHenkoAri) {
        step = ReadIoState();
        if (step == Step::Good)
            IoStateHyoji();
    }
    // Also when the request came in during the read.
    if (step == Step::Good && OutputHenkoAri) {
        step = WriteOutputChangeToCt();
        if (step != Step::Busy) {
            // Read back also after a failed write, so the lamps show what the controller has.
            const Step read = ReadIoState();
            IoStateHyoji();
            if (step == Step::Good)
                step = read;
        }
    }
    TusinTyu = false;
    // Any failure ends monitoring for good: timer off, port released, the button offers Start.
    if (step == Step::Failed || IoCheckTeisi)
        enterStopped();
    switch (step) {
    case Step::Good:
        return Tick::Done;
    case Step::Busy:
        return Tick::Skipped;
    case Step::Failed:
        break;
    }
    return Tick::Failed;
}

IoMonitor::Step IoMonitor::exchange(const QString &command, qint16 replyLength, const QString &data,
                                    QString *reply) {
    const ExchangeResult result = m_link.SendCommand(command, replyLength, data, ReplyTimeoutMs);
    if (reply)
        *reply = result.reply;
    switch (result.end) {
    case Exchange::Good:
        return Step::Good;
    case Exchange::Busy:
        // Another exchange of the program waits; this poll is left out, nothing is wrong.
        return Step::Busy;
    case Exchange::NoPort:
    case Exchange::PortGone:
        // The exchange tells nothing when the port cannot be used; the monitor must not stop
        // without a word.
        m_prompt.MsgBox(ResText(215));
        return fail(result.toResult().orText(ResText(215)));
    case Exchange::Timeout:
    case Exchange::ErrorReply:
    case Exchange::Malformed:
        break;
    }
    return fail(result.toResult());
}

IoMonitor::Step IoMonitor::fail(const OpResult &why) {
    // The first failure is what ended monitoring; what follows in the same tick only adds to it.
    if (!m_failure.isFailed())
        m_failure = why;
    return Step::Failed;
}

IoMonitor::Step IoMonitor::ReadIoState() {
    QString reply;
    const Step step = exchange(QStringLiteral("0RD"), 23, QStringLiteral("20"), &reply);
    if (step != Step::Good)
        return step;
    if (!IoSignals::portsFromReply(reply, m_ports)) {
        // Port bytes that are no numbers would light made-up lamps.
        m_link.ReleasePort();
        m_prompt.MsgBox(ResText(215));
        return fail(OpResult::failed(OpResult::Failure::Malformed, ResText(215)));
    }
    m_link.ReleasePort();
    emit portsRead(m_clock.elapsed(), m_ports);
    return Step::Good;
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

IoMonitor::Step IoMonitor::WriteOutputChangeToCt() {
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
    const Step step = exchange(QStringLiteral("0WS"), 7, IoSignals::outputData(mask));
    if (step == Step::Good) {
        m_link.ReleasePort();
    } else {
        OutputHenkoAri = true;
        if (step == Step::Failed)
            StopIoCheck();
    }
    return step;
}
