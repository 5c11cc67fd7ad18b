#pragma once

#include <QString>
#include <QtGlobal>

// What became of an operation a front end called: done, stopped by the user (a question answered
// No or Cancel, a dialog cancelled), refused because another exchange still waits, or failed. A
// failure names its kind and carries the text that explains it: the message the user was shown
// first in its course, or, where nothing was shown, the operation's own words. The window shows
// its message boxes as it always has; the terminal program, the fleet and the tests read this.
struct OpResult {
    enum class Status { Done, Stopped, Busy, Failed };
    enum class Failure {
        None,
        NoPort,      // the port could not be opened
        PortGone,    // the line went away during an exchange
        Timeout,     // no reply within the limit
        ErrorReply,  // the controller answered with an error code (errorCode)
        Malformed,   // a reply of the wrong length or for another command
        Unconfirmed, // a good reply that did not confirm what was asked
        FileError,   // a file could not be read or written
        Refused,     // the checks refused the data; nothing was sent
    };

    Status status = Status::Done;
    Failure failure = Failure::None;
    QString text;      // lines joined with CR LF; empty when nothing explains it
    QString errorCode; // ErrorReply: the controller's two characters ("0B")
    QString alarmText; // ErrorReply: the code's text (empty for an unknown code)
    QString port;      // a failure on the line: the controller as the user named it ("COM3")
    // NoPort, PortGone: the port's failure in words, naming the port, its device and why.
    QString reason;

    static OpResult done() { return {}; }
    static OpResult stopped() { return withStatus(Status::Stopped); }
    static OpResult busy() { return withStatus(Status::Busy); }
    static OpResult failed(Failure kind, const QString &text = {}, const QString &code = {}) {
        OpResult result = withStatus(Status::Failed);
        result.failure = kind;
        result.text = text;
        result.errorCode = code;
        return result;
    }

    bool isDone() const { return status == Status::Done; }
    bool isFailed() const { return status == Status::Failed; }
    // The routines' own convention: 0 done, 1 not done (failed, stopped or refused).
    qint16 code() const { return isDone() ? 0 : 1; }
    // A failure without words of its own gets these (the operation's own message).
    OpResult &orText(const QString &fallback) {
        if (text.isEmpty())
            text = fallback;
        return *this;
    }
    // The text on one line: its lines trimmed and joined by blanks.
    QString oneLine() const;

private:
    static OpResult withStatus(Status status) {
        OpResult result;
        result.status = status;
        return result;
    }
};

// The failure kind's name, for terminal output and test messages ("timeout", "no port" ...).
const char *toString(OpResult::Failure failure);
const char *toString(OpResult::Status status);

// An operation's outcome with the value it brought (valid only when done).
template <typename T> struct Valued {
    OpResult result;
    T value{};

    bool isDone() const { return result.isDone(); }
};
