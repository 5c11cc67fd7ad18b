// The command exchange of ControllerLink: one command line out, one reply line back.
#include "link/ControllerLink.h"

#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "base/UserPrompt.h"

#include <QEventLoop>

#ifdef Q_OS_UNIX
#include <termios.h>
#endif

namespace {

const QByteArray CrLf("\r\n");
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

Exchange ControllerLink::SendCommand(const QString &command, qint16 replyLength,
                                     const QString &data, int timeoutMs,
                                     const QString &replyStart) {
    // Waits process events, so an exchange could be started from inside another one; its reply
    // would be mixed into ours. Refuse it before anything is sent, and leave the result of the
    // waiting one as it is.
    if (m_busy)
        return Exchange::Busy;
    m_endLogged = false;
    m_last = exchange(command, replyLength, data, timeoutMs, replyStart);
    noteEnd(m_last, replyStart.isEmpty() ? (command + data).left(3) : replyStart, replyLength);
    return m_last;
}

void ControllerLink::noteEnd(Exchange how, const QString &expectedStart, qint16 replyLength) {
    if (m_log && !m_endLogged)
        logEnd(how, expectedStart, replyLength);
    m_endLogged = true;
}

Exchange ControllerLink::exchange(const QString &command, qint16 replyLength, const QString &data,
                                  int timeoutMs, const QString &replyStart) {
    if (OpenPort() != 0)
        return Exchange::NoPort;
    BusyScope busy(m_busy);

    CommFailed = false;
    TimedOut = false;
    LastReply.clear();
    const QString line = command + data;
    const QString expected = replyStart.isEmpty() ? line.left(3) : replyStart;
    if (!writeLine(line)) {
        CommFailed = true;
        return Exchange::PortGone;
    }

    QByteArray buffer;
    const WaitEnd end = waitForReply(buffer, timeoutMs);
    if (end == WaitEnd::PortLost) {
        CommFailed = true;
        return Exchange::PortGone;
    }
    if (end == WaitEnd::TimedOut) {
        CommFailed = true;
        // The log tells when it happened, not when the message was acknowledged.
        noteEnd(Exchange::Timeout, expected, replyLength);
        closeNow();
        m_prompt.MsgBox(joinLines({ResText(1100), ResText(1101), ResText(1102), ResText(1103)}));
        return Exchange::Timeout;
    }

    const QString reply = QString::fromLatin1(buffer);
    if (reply.startsWith(ErrorPrefix)) {
        takeErrorReply(buffer);
        noteEnd(Exchange::ErrorReply, expected, replyLength);
        m_prompt.MsgBox(errorReplyMessage(ErrorText));
        ReleasePort();
        return Exchange::ErrorReply;
    }

    const bool wrongPrefix = !reply.startsWith(expected);
    if (wrongPrefix || reply.length() != replyLength) {
        bool portLost = false;
        const bool recoveryError = recover(portLost, timeoutMs);
        CommFailed = true;
        if (portLost)
            return Exchange::PortGone;
        ReleasePort();
        if (recoveryError) {
            noteEnd(Exchange::ErrorReply, expected, replyLength);
            m_prompt.MsgBox(errorReplyMessage(ErrorText));
            return Exchange::ErrorReply;
        }
        noteEnd(Exchange::Malformed, expected, replyLength);
        if (wrongPrefix)
            m_prompt.MsgBox(joinLines({ResText(1107), ResText(1108)}));
        else
            m_prompt.MsgBox(joinLines({ResText(1105), ResText(1106)}));
        return Exchange::Malformed;
    }

    LastReply = reply;
    setAlarm(false, m_alarmCode, QStringLiteral("No Error"));
    return Exchange::Good;
}

bool ControllerLink::recover(bool &portLost, int timeoutMs) {
    TimedOut = false;
    LastReply.clear();
    QByteArray buffer;
    if (!writeLine(QStringLiteral("0CM0"))) {
        portLost = !m_port.isOpen();
        return false;
    }
    const WaitEnd end = waitForReply(buffer, timeoutMs);
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
    ErrorReply = QString::fromLatin1(buffer);
    CommFailed = true;
    ShowErrorReply();
}

Exchange ControllerLink::SendCommandNoReply(const QString &command, qint16 replyLength,
                                            const QString &data) {
    Q_UNUSED(replyLength);
    if (m_busy)
        return Exchange::Busy;
    if (OpenPort() != 0)
        return m_last = Exchange::NoPort;
    BusyScope busy(m_busy);
    CommFailed = false;
    LastReply.clear();
    // The caller may close the port at once (the restart after a data write): the line must
    // have left the port by then.
    const bool sent = writeLine(command + data) && waitUntilWritten();
    if (m_log)
        m_log->add(CommLog::Event::Ended, {}, ResText(sent ? 1711 : 1710));
    return m_last = sent ? Exchange::Good : Exchange::PortGone;
}

qint16 ControllerLink::CommCheck() {
    return SendCommand(QStringLiteral("0CM"), 6, QStringLiteral("1"), CommCheckTimeoutMs) ==
                   Exchange::Good
               ? 0
               : 1;
}

bool ControllerLink::writeLine(const QString &line) {
    const QByteArray bytes = line.toLatin1() + CrLf;
    if (m_log)
        m_log->add(CommLog::Event::Sent, bytes);
    return m_port.write(bytes) == bytes.size();
}

void ControllerLink::onTimerTimeout() {
    TimedOut = true;
    timerTimeout.stop();
    if (m_wait)
        m_wait->quit();
}

ControllerLink::WaitEnd ControllerLink::waitForReply(QByteArray &buffer, int timeoutMs) {
    QEventLoop loop;
    m_wait = &loop;
    const auto woken = connect(&m_port, &QSerialPort::readyRead, &loop, &QEventLoop::quit);
    timerTimeout.setInterval(timeoutMs);
    timerTimeout.start();

    WaitEnd end = WaitEnd::Reply;
    for (;;) {
        // Input already waiting (also input that came while no exchange ran) is taken first.
        if (m_port.isOpen() && m_port.bytesAvailable() > 0) {
            buffer += m_port.readAll();
            if (buffer.endsWith(CrLf))
                break;
        }
        if (m_portLost || !m_port.isOpen()) {
            end = WaitEnd::PortLost;
            break;
        }
        if (TimedOut) {
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
    const auto written = connect(&m_port, &QSerialPort::bytesWritten, &loop, &QEventLoop::quit);
    QTimer limit;
    limit.setSingleShot(true);
    connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    limit.start(1000);
    while (m_port.isOpen() && m_port.bytesToWrite() > 0 && limit.isActive())
        loop.exec();
    disconnect(written);
    m_wait = nullptr;
    if (!m_port.isOpen() || m_port.bytesToWrite() > 0)
        return false;
#ifdef Q_OS_UNIX
    // Let the driver send what it holds before anyone closes the port.
    ::tcdrain(int(m_port.handle()));
#endif
    return true;
}
