// What ControllerLink tells its communication log about the replies and the end of an exchange.
#include "link/ControllerLink.h"

#include "base/ResText.h"

void ControllerLink::logReceived(const QByteArray &buffer) {
    if (buffer.isEmpty())
        return;
    m_log->add(CommLog::Event::Received, buffer);
    // The recovery exchange collects a reply of its own; the end is judged by the first one.
    if (m_logReply.isEmpty())
        m_logReply = buffer;
}

void ControllerLink::logEnd(const OpResult &how, const QString &expectedStart, qint16 replyLength) {
    const QByteArray reply = m_logReply;
    m_logReply.clear();
    QString note;
    using F = OpResult::Failure;
    switch (how.failure) {
    case F::None:
        // Busy: nothing was sent.
        if (!how.isDone())
            return;
        note = ResText(1705);
        break;
    case F::Timeout:
        note = ResText(1706);
        break;
    case F::ErrorReply:
        note = ResText(1707).arg(how.errorCode, how.alarmText);
        break;
    case F::Malformed:
        // A reply that does not begin as asked: another command, another block, another echo.
        if (reply.size() > replyLimitFor(replyLength))
            note = ResText(1708).arg(reply.size()).arg(replyLength);
        else if (!reply.startsWith(expectedStart.toLatin1()))
            note = ResText(1709);
        else if (reply.size() != replyLength)
            note = ResText(1708).arg(reply.size()).arg(replyLength);
        else
            note = ResText(1715);
        break;
    case F::PortGone:
        note = ResText(1710);
        break;
    case F::NoPort: // the failed opening is in the log already
    case F::Unconfirmed:
    case F::FileError:
    case F::Refused:
        return;
    }
    m_log->add(CommLog::Event::Ended, {}, note);
}
