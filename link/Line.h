#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

class QEventLoop;

// A line to the controller, whatever carries it: a serial device, a COM port of Windows, or a
// network line to a serial device server. Each is set to 9600 baud, 8 data bits, no parity,
// 1 stop bit and no flow control when it opens. The exchange, its timeouts and its log know
// only this.
class Line : public QObject {
    Q_OBJECT
public:
    enum class State {
        Closed,
        Open,
        Lost, // it went away while open (adapter pulled, line hung up, server closed)
    };
    enum class Error {
        None,
        NotFound,        // no such device
        CannotOpen,      // the device or address would not open
        SettingsRefused, // it opened, but refused the line settings; it is closed again
        Lost,            // it went away while open
        WriteTimedOut,   // it did not take what was written in time (a stuck adapter or driver)
    };

    // The most a line holds for its reader: a sender that sends more than is read waits in the
    // driver or the connection rather than in memory.
    static constexpr qsizetype MaxHeld = 4096;

    using QObject::QObject;

    // Opens the device path or network URL and sets the line up. False: error() and
    // errorString() say why, and the line is closed.
    virtual bool open(const QString &path) = 0;
    // Closes the line; what it still held for its reader is dropped.
    virtual void close() = 0;
    // Hands bytes to the line; the count taken, or -1 when the line failed.
    virtual qint64 write(const QByteArray &bytes) = 0;
    virtual qint64 bytesAvailable() const = 0;
    // What has come, at most max bytes.
    virtual QByteArray read(qint64 max) = 0;
    // Waits at most msecs for more input without processing events; true when some came.
    virtual bool waitForReadyRead(int msecs) = 0;
    // Waits (processing events) until what was written has left the line, the driver or server
    // included, or msecs have passed; false when it had not, or the line went away.
    virtual bool drain(int msecs) = 0;
    // What the driver told of the line since the last write (framing errors, overruns, parity
    // errors, a break) as a line of text that explains an exchange that failed; empty when it told
    // nothing, or the line cannot tell.
    virtual QString lineErrorsText() const { return {}; }

    bool isOpen() const { return m_state == State::Open; }
    State state() const { return m_state; }
    Error error() const { return m_error; }
    // The system's own words for the last error.
    const QString &errorString() const { return m_errorString; }
    // The system's code for the last error where the line has one (Windows' error codes), else 0.
    unsigned long systemCode() const { return m_systemCode; }

signals:
    void readyRead();
    // Some of what was written has left.
    void bytesWritten();
    // The open line went away; the state is Lost until it is closed.
    void lost();

protected:
    void setState(State state) { m_state = state; }
    // Processes events until done() holds, the line is no longer open, or msecs have passed;
    // woken by the line's signals and by wake(). Whether done() held at the end.
    bool waitUntil(const std::function<bool()> &done, int msecs);
    // Ends a waitUntil() under way (the line was closed meanwhile).
    void wake();
    void setError(Error error, const QString &text = {}, unsigned long systemCode = 0);
    // Marks the line as gone and says so once.
    void goneAway(const QString &text);

private:
    State m_state = State::Closed;
    Error m_error = Error::None;
    QString m_errorString;
    unsigned long m_systemCode = 0;
    QEventLoop *m_wait = nullptr;
};
