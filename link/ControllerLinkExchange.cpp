// The command exchange of ControllerLink: one command line out, one reply line back.
#include "link/ControllerLink.h"

#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "base/UserPrompt.h"

#include <QElapsedTimer>
#include <QEventLoop>

#ifdef Q_OS_UNIX
#include <termios.h>
#endif

namespace {

const QByteArray CrLf("\r\n");
// The recovery command "0CM0" brings a reply of the same form as the communication check.
constexpr qint16 RecoveryReplyLength = 6;
const QString ErrorPrefix = QStringLiteral("0%%");

// Marks the link busy for the length of one exchange.
class BusyScope {
public:
    explicit BusyScope(bool &busy) : m_busy(busy) { m_busy = true; }
    ~BusyScope() { m_busy = false; }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    bool &m_busy;
};

QString joinLines(const QStringList &lines) {
    return lines.join(QStringLiteral("\r\n"));
}

// The message for an error reply: what happened, then the controller's text in brackets.
QString errorReplyMessage(const QString &errorText) {
    return joinLines({ResText(215), QLatin1Char('[') + errorText + QLatin1Char(']')});
}

} // namespace

OpResult ExchangeResult::toResult() const {
    using F = OpResult::Failure;
    switch (end) {
    case Exchange::Good:
        return OpResult::done();
    case Exchange::Busy:
        return OpResult::busy();
    case Exchange::NoPort:
        return OpResult::failed(F::NoPort, message);
    case Exchange::PortGone:
        return OpResult::failed(F::PortGone, message);
    case Exchange::Timeout:
        return OpResult::failed(F::Timeout, message);
    case Exchange::ErrorReply:
        return OpResult::failed(F::ErrorReply, message, errorCode);
    case Exchange::Malformed:
        break;
    }
    return OpResult::failed(F::Malformed, message);
}

ExchangeResult ControllerLink::SendCommand(const QString &command, qint16 replyLength,
                                           const QString &data, int timeoutMs,
                                           const QString &replyStart) {
    // Waits process events, so an exchange could be started from inside another one; its reply
    // would be mixed into ours. Refuse it before anything is sent, and leave the result of the
    // waiting one as it is.
    if (m_busy)
        return {Exchange::Busy, {}, {}, {}};
    m_endLogged = false;
    const ExchangeResult result = exchange(command, replyLength, data, timeoutMs, replyStart);
    m_last = result.end;
    noteEnd(m_last, replyStart.isEmpty() ? (command + data).left(3) : replyStart, replyLength);
    return result;
}

void ControllerLink::noteEnd(Exchange how, const QString &expectedStart, qint16 replyLength) {
    if (m_log && !m_endLogged)
        logEnd(how, expectedStart, replyLength);
    m_endLogged = true;
}

ExchangeResult ControllerLink::failWith(Exchange how, const QString &message,
                                        const QString &expectedStart, qint16 replyLength) {
    // The log tells when it happened, not when the message was acknowledged.
    noteEnd(how, expectedStart, replyLength);
    m_prompt.MsgBox(message);
    return {how, {}, message, how == Exchange::ErrorReply ? m_errorReply.mid(3, 2) : QString()};
}

ExchangeResult ControllerLink::exchange(const QString &command, qint16 replyLength,
                                        const QString &data, int timeoutMs,
                                        const QString &replyStart) {
    if (OpenPort() != 0)
        return {Exchange::NoPort, {}, {}, {}};
    BusyScope busy(m_busy);

    m_commFailed = false;
    m_timedOut = false;
    m_lastReply.clear();
    const QString line = command + data;
    const QString expected = replyStart.isEmpty() ? line.left(3) : replyStart;
    discardStaleInput();
    if (!writeLine(line)) {
        m_commFailed = true;
        return {Exchange::PortGone, {}, {}, {}};
    }

    QByteArray buffer;
    const WaitEnd end = waitForReply(buffer, timeoutMs, replyLimit(replyLength));
    if (end == WaitEnd::PortLost) {
        m_commFailed = true;
        return {Exchange::PortGone, {}, {}, {}};
    }
    if (end == WaitEnd::TimedOut) {
        m_commFailed = true;
        // Logged as it happens, before the port's closing and the message.
        noteEnd(Exchange::Timeout, expected, replyLength);
        closeNow();
        return failWith(Exchange::Timeout,
                        joinLines({ResText(1100), ResText(1101), ResText(1102), ResText(1103)}),
                        expected, replyLength);
    }

    // A reply that grew past what its command can bring is of the wrong length, whatever it
    // begins with; what still comes after it is dropped before the recovery.
    const bool tooLong = end == WaitEnd::TooLong;
    const QString reply = QString::fromLatin1(buffer);
    if (!tooLong && reply.startsWith(ErrorPrefix)) {
        takeErrorReply(buffer);
        const ExchangeResult result =
            failWith(Exchange::ErrorReply, errorReplyMessage(m_errorText), expected, replyLength);
        ReleasePort();
        return result;
    }

    const bool wrongPrefix = !tooLong && !reply.startsWith(expected);
    if (tooLong || wrongPrefix || reply.length() != replyLength) {
        if (tooLong)
            discardStaleInput();
        bool portLost = false;
        const bool recoveryError = recover(portLost, timeoutMs);
        m_commFailed = true;
        if (portLost)
            return {Exchange::PortGone, {}, {}, {}};
        ReleasePort();
        if (recoveryError)
            return failWith(Exchange::ErrorReply, errorReplyMessage(m_errorText), expected,
                            replyLength);
        return failWith(Exchange::Malformed,
                        wrongPrefix ? joinLines({ResText(1107), ResText(1108)})
                                    : joinLines({ResText(1105), ResText(1106)}),
                        expected, replyLength);
    }

    m_lastReply = reply;
    setAlarm(false, m_alarmCode, QStringLiteral("No Error"));
    return {Exchange::Good, reply, {}, {}};
}

bool ControllerLink::recover(bool &portLost, int timeoutMs) {
    m_timedOut = false;
    m_lastReply.clear();
    QByteArray buffer;
    if (!writeLine(QStringLiteral("0CM0"))) {
        portLost = !m_io->isOpen();
        return false;
    }
    const WaitEnd end = waitForReply(buffer, timeoutMs, replyLimit(RecoveryReplyLength));
    if (end == WaitEnd::PortLost) {
        portLost = true;
        return false;
    }
    // What came is judged by its beginning, also when the wait ran out of time before a line end.
    if (buffer.startsWith(ErrorPrefix.toLatin1())) {
        takeErrorReply(buffer);
        return true;
    }
    return false;
}

void ControllerLink::takeErrorReply(const QByteArray &buffer) {
    m_commFailed = true;
    ShowErrorReply(QString::fromLatin1(buffer));
}

ExchangeResult ControllerLink::SendCommandNoReply(const QString &command, qint16 replyLength,
                                                  const QString &data) {
    Q_UNUSED(replyLength);
    if (m_busy)
        return {Exchange::Busy, {}, {}, {}};
    if (OpenPort() != 0) {
        m_last = Exchange::NoPort;
        return {m_last, {}, {}, {}};
    }
    BusyScope busy(m_busy);
    m_commFailed = false;
    m_lastReply.clear();
    discardStaleInput();
    // The caller may close the port at once (the restart after a data write): the line must
    // have left the port by then.
    const bool sent = writeLine(command + data) && waitUntilWritten();
    if (m_log)
        m_log->add(CommLog::Event::Ended, {}, ResText(sent ? 1711 : 1710));
    m_last = sent ? Exchange::Good : Exchange::PortGone;
    return {m_last, {}, {}, {}};
}

ExchangeResult ControllerLink::checkCommunication() {
    return SendCommand(QStringLiteral("0CM"), 6, QStringLiteral("1"), CommCheckTimeoutMs);
}

OpResult ControllerLink::openAndCheck() {
    if (m_busy)
        return OpResult::busy();
    if (OpenPort() != 0)
        return OpResult::failed(OpResult::Failure::NoPort);
    return checkCommunication().toResult();
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
    const QByteArray bytes = line.toLatin1() + CrLf;
    if (m_log)
        m_log->add(CommLog::Event::Sent, bytes);
    return m_io->write(bytes) == bytes.size();
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
    const auto woken = connect(m_io, &QIODevice::readyRead, &loop, &QEventLoop::quit);
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
            if (buffer.endsWith(CrLf))
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

bool ControllerLink::waitUntilWritten() {
    QEventLoop loop;
    m_wait = &loop;
    const auto written = connect(m_io, &QIODevice::bytesWritten, &loop, &QEventLoop::quit);
    QTimer limit;
    limit.setSingleShot(true);
    connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    limit.start(1000);
    while (m_io->isOpen() && m_io->bytesToWrite() > 0 && limit.isActive())
        loop.exec();
    disconnect(written);
    m_wait = nullptr;
    if (!m_io->isOpen() || m_io->bytesToWrite() > 0)
        return false;
#ifdef Q_OS_UNIX
    // Let the driver send what it holds before anyone closes the port.
    if (m_io == &m_port)
        ::tcdrain(int(m_port.handle()));
#endif
    if (isNetworkLine()) {
        // The server passes the line on to its serial port at 9600 baud; closing the connection
        // before that could make it drop what it still holds (the restart after a write). Wait
        // the line's time for the bytes and a margin; nothing says when it is through.
        QEventLoop drain;
        QTimer::singleShot(NetworkDrainMs, &drain, &QEventLoop::quit);
        m_wait = &drain;
        drain.exec();
        m_wait = nullptr;
    }
    return true;
}
