#include "sim/ControllerSimulator.h"

#include <algorithm>

ControllerSimulator::ControllerSimulator(QObject *parent) : QObject(parent) {
    m_clock.start();
    m_sendTimer.setSingleShot(true);
    m_sendTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_sendTimer, &QTimer::timeout, this, &ControllerSimulator::pump);
    m_open = openEnd();
    if (!m_open)
        dropLine();
}

ControllerSimulator::~ControllerSimulator() {
    dropLine();
}

void ControllerSimulator::dropLine() {
    const bool wasOpen = isOpen();
    m_sendTimer.stop();
    m_out.clear();
    closeEnd();
    m_open = false;
    if (wasOpen)
        emit lineDropped();
}

void ControllerSimulator::takeInput(const char *bytes, qint64 n) {
    const qint64 now = m_clock.nsecsElapsed();
    // On a real line each character takes its time to arrive.
    m_rxClockNs = m_paced ? std::max(m_rxClockNs, now) + n * CharacterNs : now;
    m_input.append(bytes, n);
    qsizetype end;
    while ((end = m_input.indexOf("\r\n")) >= 0) {
        const QString line = QString::fromLatin1(m_input.left(end));
        m_input.remove(0, end + 2);
        handleLine(line, m_rxClockNs);
        if (!isOpen())
            return;
    }
}

SimFault *ControllerSimulator::faultFor(const QString &line) {
    for (SimFault &fault : m_faults) {
        if (fault.times != 0 && line.startsWith(fault.match)) {
            if (fault.times > 0)
                --fault.times;
            return &fault;
        }
    }
    return nullptr;
}

void ControllerSimulator::setRecordLimit(int lines) {
    m_recordLimit = std::max(1, lines);
    if (m_lines.size() > m_recordLimit)
        m_lines.remove(0, m_lines.size() - m_recordLimit);
}

void ControllerSimulator::handleLine(const QString &line, qint64 arrivedNs) {
    ++m_lineCount;
    if (m_lines.size() >= m_recordLimit)
        m_lines.removeFirst();
    m_lines.append(line);
    emit lineReceived(line);
    const ControllerModel::Answer answer = m_model.process(line);
    const SimFault *fault = faultFor(line);
    if ((fault && fault->drop) || (m_dropAfter > 0 && m_lineCount >= m_dropAfter)) {
        dropLine();
        return;
    }
    if (fault && fault->silent)
        return;
    const bool replaced = fault && (!fault->errorCode.isEmpty() || !fault->reply.isEmpty());
    if (answer.reply.isEmpty() && !replaced)
        return;
    const QByteArray reply = fault ? fault->apply(answer.reply) : answer.reply;
    const qint64 due = arrivedNs + qint64(answer.delayMs + (fault ? fault->delayMs : 0)) * 1000000;
    const int pieces = fault ? qBound(1, fault->pieces, int(reply.size())) : 1;
    if (pieces == 1) {
        queue(reply, due);
        return;
    }
    const qsizetype size = (reply.size() + pieces - 1) / pieces;
    for (int i = 0; i < pieces; ++i)
        queue(reply.mid(i * size, size), due + qint64(i) * fault->pieceGapMs * 1000000);
}

void ControllerSimulator::sendUnsolicited(const QByteArray &text) {
    queue(text, m_clock.nsecsElapsed());
}

void ControllerSimulator::queue(const QByteArray &bytes, qint64 notBeforeNs) {
    if (bytes.isEmpty() || !isOpen())
        return;
    const qint64 start = std::max(notBeforeNs, m_lastDueNs);
    if (m_paced) {
        // A character is there once its last bit has arrived.
        for (qsizetype i = 0; i < bytes.size(); ++i)
            m_out.append({bytes.mid(i, 1), start + (i + 1) * CharacterNs});
        m_lastDueNs = start + bytes.size() * CharacterNs;
    } else {
        m_out.append({bytes, start});
        m_lastDueNs = start;
    }
    pump();
}

void ControllerSimulator::pump() {
    const qint64 now = m_clock.nsecsElapsed();
    QByteArray ready;
    // Within half a millisecond counts as due: the timer has millisecond steps.
    while (!m_out.isEmpty() && m_out.first().dueNs <= now + 500000)
        ready += m_out.takeFirst().bytes;
    if (!ready.isEmpty() && isOpen())
        writeOut(ready);
    if (!m_out.isEmpty()) {
        const qint64 waitNs = m_out.first().dueNs - now;
        m_sendTimer.start(int(std::max<qint64>(0, (waitNs + 500000) / 1000000)));
    }
}
