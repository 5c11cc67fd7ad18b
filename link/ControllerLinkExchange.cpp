// The command exchange of ControllerLink: one command line out, one reply line back.
#include "link/ControllerLink.h"

#include "base/MessageLines.h"
#include "base/ResText.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QScopedValueRollback>

namespace {

// What ends a command line and a reply.
const QByteArray LineEnd("\r\n");

// How long the restart's line may take to leave the port.
constexpr int DrainLimitMs = 1000;

// The message for an error reply: what happened, then the controller's text in brackets.
QString errorReplyMessage(const QString &errorText) {
    return joinLines({ResText(215), QLatin1Char('[') + errorText + QLatin1Char(']')});
}

} // namespace

ControllerScope ControllerLink::controller(Opening opening, const std::function<void()> &ready) {
    // Waits process events, so an operation could be started from inside another one's
    // exchange; its lines would be mixed into ours. Refuse it before anything is touched.
    if (m_busy)
        return ControllerScope(OpResult::busy());
    if (ready)
        ready();
    const OpResult opened = OpenPort();
    if (!opened.isDone())
        return ControllerScope(opened);
    if (opening == Opening::Checked) {
        const OpResult check = exchange(ControllerCommand::CommCheck, {}).result;
        // An error reply's port is given back once the operation has shown its message.
        if (!check.isDone())
            return ControllerScope(check,
                                   check.failure == OpResult::Failure::ErrorReply ? this : nullptr);
    }
    return ControllerScope(*this);
}

Valued<QString> ControllerLink::exchange(ControllerCommand command, const QString &data) {
    // A scope's call from inside another exchange's wait: refused, the waiting one untouched.
    if (m_busy)
        return {OpResult::busy()};
    const CommandForm &form = commandForm(command);
    const QString line = form.line(data);
    const QString expected = form.replyStart(line);
    m_endLogged = false;
    Valued<QString> result;
    // The port may have gone since the scope opened it (a timeout closes it).
    const OpResult opened = OpenPort();
    if (!opened.isDone())
        result.result = opened;
    else
        result = exchangeOpen(form, line, expected);
    noteEnd(result.result, expected, form.replyLength);
    return result;
}

void ControllerLink::noteEnd(const OpResult &how, const QString &expectedStart,
                             qint16 replyLength) {
    if (m_log && !m_endLogged)
        logEnd(how, expectedStart, replyLength);
    m_endLogged = true;
}

OpResult ControllerLink::failWith(OpResult result) {
    // The log tells when it happened, not when the message was acknowledged.
    noteEnd(result, {}, 0);
    return result;
}

OpResult ControllerLink::portFailure(OpResult::Failure kind) const {
    OpResult result = OpResult::failed(kind);
    result.port = portName();
    if (kind == OpResult::Failure::NoPort)
        result.reason = openFailureText();
    else
        result.reason = lineLostText();
    return result;
}

Valued<QString> ControllerLink::exchangeOpen(const CommandForm &form, const QString &line,
                                             const QString &expected) {
    using F = OpResult::Failure;
    // Busy for the length of the exchange.
    const QScopedValueRollback<bool> busy(m_busy, true);
    m_timedOut = false;
    discardStaleInput();
    if (!writeLine(line)) {
        if (!writeTimedOut())
            return {portFailure(F::PortGone)};
        // The port did not take the line in time (writeLine closed it): a timeout of its own.
        const OpResult stuck =
            OpResult::failed(F::Timeout, joinLines({ResText(1620), ResText(1621)}));
        noteEnd(stuck, expected, form.replyLength);
        return {failWith(stuck)};
    }

    QByteArray buffer;
    const WaitEnd end = waitForReply(buffer, form.timeoutMs, form.replyLimit());
    if (end == WaitEnd::PortLost)
        return {portFailure(F::PortGone)};
    // What the driver told of the line during the wait explains a reply that did not come right.
    const QString lineErrors = m_io->lineErrorsText();
    if (end == WaitEnd::TimedOut) {
        QStringList lines{ResText(1100), ResText(1101), ResText(1102), ResText(1103)};
        if (!lineErrors.isEmpty())
            lines << lineErrors;
        const OpResult timeout = OpResult::failed(F::Timeout, joinLines(lines));
        // Logged as it happens, before the port's closing and the message.
        noteEnd(timeout, expected, form.replyLength);
        closeNow();
        return {failWith(timeout)};
    }

    // A reply that grew past what its command can bring is of the wrong length, whatever it
    // begins with; what still comes after it is dropped before the recovery.
    const bool tooLong = end == WaitEnd::TooLong;
    const QString reply = QString::fromLatin1(buffer);
    if (!tooLong && reply.startsWith(QLatin1String(ErrorReplyStart))) {
        // The port is given back after the message (ControllerScope::settle()).
        const OpResult result = takeErrorReply(reply);
        noteEnd(result, expected, form.replyLength);
        return {result};
    }

    const bool wrongPrefix = !tooLong && !reply.startsWith(expected);
    if (tooLong || wrongPrefix || reply.length() != form.replyLength) {
        if (tooLong)
            discardStaleInput();
        bool portLost = false;
        const QString recoveryError = recover(portLost, form.timeoutMs);
        if (portLost)
            return {portFailure(F::PortGone)};
        ReleasePort();
        if (!recoveryError.isEmpty())
            return {failWith(takeErrorReply(recoveryError))};
        QStringList lines = wrongPrefix ? QStringList{ResText(1107), ResText(1108)}
                                        : QStringList{ResText(1105), ResText(1106)};
        if (!lineErrors.isEmpty())
            lines << lineErrors;
        const QString message = joinLines(lines);
        // The log judges the reply that came, not the recovery's.
        noteEnd(OpResult::failed(F::Malformed), expected, form.replyLength);
        return {failWith(OpResult::failed(F::Malformed, message))};
    }

    setAlarm(false, m_alarmCode, QStringLiteral("No Error"));
    return {OpResult::done(), reply};
}

QString ControllerLink::recover(bool &portLost, int timeoutMs) {
    m_timedOut = false;
    QByteArray buffer;
    const CommandForm &recovery = commandForm(ControllerCommand::ExternalStart);
    if (!writeLine(recovery.line())) {
        portLost = !m_io->isOpen();
        return {};
    }
    const WaitEnd end = waitForReply(buffer, timeoutMs, recovery.replyLimit());
    if (end == WaitEnd::PortLost) {
        portLost = true;
        return {};
    }
    // What came is judged by its beginning, also when the wait ran out of time before a line end.
    if (buffer.startsWith(ErrorReplyStart))
        return QString::fromLatin1(buffer);
    return {};
}

OpResult ControllerLink::takeErrorReply(const QString &errorReply) {
    const QString code = errorReply.left(5).mid(3, 2);
    const QString text = errorTextFor(errorReply);
    setAlarm(true, code, text);
    OpResult result =
        OpResult::failed(OpResult::Failure::ErrorReply, errorReplyMessage(text), code);
    result.alarmText = text;
    return result;
}

OpResult ControllerLink::sendNoReply(ControllerCommand command) {
    if (m_busy)
        return OpResult::busy();
    const OpResult opened = OpenPort();
    if (!opened.isDone())
        return opened;
    const QScopedValueRollback<bool> busy(m_busy, true);
    discardStaleInput();
    // The caller may close the port at once (the restart after a data write): the line must
    // have left the port by then.
    const bool sent = writeLine(commandForm(command).line()) && m_io->drain(DrainLimitMs);
    if (m_log)
        m_log->add(CommLog::Event::Ended, {}, ResText(sent ? 1711 : 1710));
    return sent ? OpResult::done() : portFailure(OpResult::Failure::PortGone);
}

void ControllerLink::discardStaleInput() {
    // Input that came while no command waited (a late reply to an exchange that timed out, the
    // rest of a reply after its CR LF, line noise) would become the start of the next reply.
    // Only what has arrived by now goes, and no more than a bounded share of it: a line that
    // never stops sending must not hold the command back. The log keeps it, so that nothing
    // disappears unseen.
    QElapsedTimer clock;
    clock.start();
    QByteArray stale = m_io->read(MaxStaleInput);
    while (stale.size() < MaxStaleInput && clock.elapsed() < MaxStaleInputMs && m_io->isOpen() &&
           m_io->waitForReadyRead(0))
        stale += m_io->read(MaxStaleInput - stale.size());
    if (!stale.isEmpty() && m_log)
        m_log->add(CommLog::Event::Discarded, stale, ResText(1723));
}

bool ControllerLink::writeLine(const QString &line) {
    const QByteArray bytes = line.toLatin1() + LineEnd;
    if (m_log)
        m_log->add(CommLog::Event::Sent, bytes);
    if (m_io->write(bytes) == bytes.size())
        return true;
    // A port that does not take the line in time (a stuck adapter or driver) is closed, so that
    // the next command opens it afresh.
    if (writeTimedOut())
        closeNow();
    return false;
}

bool ControllerLink::writeTimedOut() const {
    return m_io->error() == Line::Error::WriteTimedOut;
}

void ControllerLink::onTimerTimeout() {
    m_timedOut = true;
    timerTimeout.stop();
    if (m_wait)
        m_wait->quit();
}

ControllerLink::WaitEnd ControllerLink::waitForReply(QByteArray &buffer, int timeoutMs,
                                                     qsizetype limit) {
    QEventLoop loop;
    m_wait = &loop;
    const auto woken = connect(m_io, &Line::readyRead, &loop, &QEventLoop::quit);
    timerTimeout.setInterval(timeoutMs);
    timerTimeout.start();

    WaitEnd end = WaitEnd::Reply;
    for (;;) {
        // Input already waiting (it came after the line was written) is taken first.
        if (m_io->isOpen() && m_io->bytesAvailable() > 0) {
            buffer += m_io->read(limit + 1 - buffer.size());
            if (buffer.size() > limit) {
                end = WaitEnd::TooLong;
                break;
            }
            if (buffer.endsWith(LineEnd))
                break;
        }
        if (m_portLost || !m_io->isOpen()) {
            end = WaitEnd::PortLost;
            break;
        }
        if (m_timedOut) {
            end = WaitEnd::TimedOut;
            break;
        }
        loop.exec();
    }

    timerTimeout.stop();
    disconnect(woken);
    m_wait = nullptr;
    if (m_log)
        logReceived(buffer);
    return end;
}
