#pragma once

#include "base/OpResult.h"
#include "link/CommLog.h"
#include "link/NetworkLine.h"
#include "link/PortCheck.h"
#include "link/PortMap.h"

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>

#include <array>

class StoredSettings;
class UserPrompt;
class QEventLoop;

// How one exchange ended. Only Good brought a reply; Busy means nothing was sent because another
// exchange is still waiting, which is not a communication error and is never shown as one.
enum class Exchange { Good, Busy, NoPort, PortGone, Timeout, ErrorReply, Malformed };

// One exchange's outcome with what it brought: the reply, the message the user was shown about
// it, the controller's error code.
struct ExchangeResult {
    Exchange end = Exchange::Good;
    QString reply;     // Good: the reply line with its CR LF
    QString message;   // Timeout, ErrorReply, Malformed: the text shown to the user
    QString errorCode; // ErrorReply: the code's two characters ("0B")

    bool good() const { return end == Exchange::Good; }
    // As an operation's outcome: Good done, Busy busy, the rest a failure of its kind.
    OpResult toResult() const;
};

// The serial line to the controller: opening and releasing the port, the exchange of one command
// line for one reply line, the controller's error replies and the alarm display they set. The
// windows show the port state and the alarm display; the operations call the exchange.
class ControllerLink : public QObject {
    Q_OBJECT
public:
    ControllerLink(StoredSettings &settings, UserPrompt &prompt, QObject *parent = nullptr);
    ~ControllerLink() override;

    // --- serial port ---
    // The line's carrier-detect timeout. The serial layer has no such setting; kept for reference.
    static constexpr int CarrierDetectTimeoutMs = 3000;

    bool isPortOpen() const;
    // 0: open and set up (or already open); 1: cannot be opened. Shows no message.
    qint16 OpenPort();
    // Closes the port unless the port is to be kept (OccupyPort).
    void ReleasePort();
    // Closes the port whatever OccupyPort says; the port lamp goes off at once.
    void ClosePort();
    // OpenPort for port n (1 to 32, else the stored number); PortNo is left as it is.
    qint16 OpenPortNo(qint16 n);
    // Which of the numbers 1 to 32 can be opened now (index 0 unused); the port is closed
    // afterwards. The network lines are tried all at once; their checks go to networkChecks
    // when given, by address.
    using PortProbe = std::array<bool, PortMap::LastNo + 1>;
    PortProbe ProbePorts(QHash<QString, PortCheck> *networkChecks = nullptr);

    // The device path (or network URL) of the port now open (empty while closed).
    QString openDevicePath() const;
    // Whether the port now open is a network line.
    bool isNetworkLine() const { return m_io == &m_net; }
    // The last line lost was a network line that the server closed.
    bool lostToServer() const { return m_lostToServer; }
    // Makes every port number reach this device, leaving the stored map alone (demos, tools);
    // empty to use the map again.
    void setDeviceOverride(const QString &path) { m_deviceOverride = path; }
    const QString &deviceOverride() const { return m_deviceOverride; }
    // The controller as the user named it: the override's path, else "COM3" of the stored number.
    QString portName() const;
    PortMap &portMap() { return m_portMap; }
    // The device COM n reaches: the override, else the map's entry (numbering new devices first).
    QString devicePathFor(int n);
    // Whether the last open failed, and why (state Unmapped when nothing maps to the number);
    // kept until an open succeeds.
    bool openFailed() const { return m_openFailed; }
    const PortCheck &lastOpenFailure() const { return m_openFailure; }

    // --- command exchange ---
    // Sends command + data + CR LF and waits up to timeoutMs for a reply of replyLength
    // characters. Good brings the reply. Timeout, ErrorReply and Malformed have been shown to the
    // user (the result holds the text); Busy, NoPort and PortGone have not. A good reply begins
    // with replyStart, by default the line's first three characters (the command); a block read
    // passes its command and block number, a write the whole line its echo must repeat. A reply
    // that begins otherwise is a reply with a wrong command.
    ExchangeResult SendCommand(const QString &command, qint16 replyLength, const QString &data,
                               int timeoutMs, const QString &replyStart = QString());
    // Sends command + data + CR LF without waiting for a reply; returns once the line has left
    // the port, so that closing the port right after cannot lose it. Good when it was sent.
    ExchangeResult SendCommandNoReply(const QString &command, qint16 replyLength,
                                      const QString &data);
    // "0CM1" with its own 1 s limit.
    ExchangeResult checkCommunication();
    // The same as the routines use it: 0 when the controller answered, 1 otherwise.
    qint16 CommCheck() { return checkCommunication().good() ? 0 : 1; }
    // The port, then the communication check: what every operation does first. A port that
    // cannot be opened is NoPort (nothing shown).
    OpResult openAndCheck();
    static constexpr int CommCheckTimeoutMs = 1000;
    // After a line that awaits no reply has left for a network line: the time its server is
    // given to pass it on before the connection may close (a short line at 9600 baud and a
    // margin).
    static constexpr int NetworkDrainMs = 150;
    // The longest reply to a command whose good reply has replyLength characters: that length
    // or an error reply ("0%%" + code + CR LF), whichever is longer, and a small margin for
    // stray characters. A reply that grows past it is a reply of the wrong length at once.
    static constexpr qint16 ErrorReplyLength = 7;
    static constexpr qint16 ReplyMargin = 16;
    static constexpr qsizetype replyLimit(qint16 replyLength) {
        return qMax(replyLength, ErrorReplyLength) + ReplyMargin;
    }
    // What is taken as stale input before a command, at most: what waits then, not what keeps
    // coming. The serial port holds no more than this for the link either.
    static constexpr qsizetype MaxStaleInput = 4096;
    static constexpr int MaxStaleInputMs = 20;
    // True while an exchange waits for its reply.
    bool isBusy() const { return m_busy; }
    // How the last exchange ended (NoPort also when the port could not be opened for one);
    // a refused exchange leaves it as it was.
    Exchange lastExchange() const { return m_last; }

    // The exchange state as the last exchange left it: its reply (empty unless good), whether it
    // timed out, whether it failed (timeout, error reply, malformed reply, port gone).
    const QString &LastReply() const { return m_lastReply; }
    bool TimedOut() const { return m_timedOut; }
    bool CommFailed() const { return m_commFailed; }
    // A finished read clears the failure of the exchange that broke it off.
    void clearCommFailed() { m_commFailed = false; }

    // --- error replies and the alarm display ---
    // The last error reply and its text.
    const QString &ErrorReply() const { return m_errorReply; }
    const QString &ErrorText() const { return m_errorText; }
    // Takes errorReply as the last error reply and shows it on the alarm display.
    void ShowErrorReply(const QString &errorReply);

    bool alarmLampShown() const { return m_alarmLamp; }
    QString alarmCode() const { return m_alarmCode; }
    QString alarmComment() const { return m_alarmComment; }
    // The reset operation: lamp off, code and text emptied.
    void clearAlarm();
    // Lamp off; code and text stay.
    void hideAlarmLamp();

    // Text of an error reply's code ("0%%03..." gives text 263), empty for an unknown code.
    static QString errorTextFor(const QString &errorReply);

    // --- communication log ---
    // The log that sees every line of this link (none: nothing is recorded).
    void setLog(CommLog *log) { m_log = log; }
    CommLog *log() const { return m_log; }

signals:
    void alarmChanged();
    // The port opened (true) or closed, also when it went away by itself.
    void portOpenChanged(bool open);
    // An open failed; lastOpenFailure() says why.
    void portOpenFailed();

private:
    enum class WaitEnd { Reply, TimedOut, PortLost, TooLong };

    qint16 openNumber(int n);
    void closeNow();
    // Logs that the port could not be opened, while a log is set.
    void logOpenFailure(const QString &port);
    void onPortError(QSerialPort::SerialPortError error);
    // Opens a network line for a port given as a URL.
    bool openNetwork(const QString &url);
    void onLineLost();
    void onTimerTimeout();
    // Drops (and logs) the input waiting before a command line is written.
    void discardStaleInput();
    bool writeLine(const QString &line);
    // Collects a reply line; one that grows past limit ends the wait at once (TooLong).
    WaitEnd waitForReply(QByteArray &buffer, int timeoutMs, qsizetype limit);
    ExchangeResult exchange(const QString &command, qint16 replyLength, const QString &data,
                            int timeoutMs, const QString &replyStart);
    bool waitUntilWritten();
    // The recovery exchange after a malformed reply: "0CM0"; true when it brought an error reply.
    bool recover(bool &portLost, int timeoutMs);
    // Ends an exchange that failed with a message: logs the end, then shows the message.
    ExchangeResult failWith(Exchange how, const QString &message, const QString &expectedStart,
                            qint16 replyLength);
    void takeErrorReply(const QByteArray &buffer);
    void setAlarm(bool lamp, const QString &code, const QString &comment);
    // Log entries (ControllerLinkLog.cpp); called only while a log is set.
    void logReceived(const QByteArray &buffer);
    void logEnd(Exchange how, const QString &expectedStart, qint16 replyLength);
    // Logs how the exchange ended, once, as soon as it is known (before any message is shown).
    void noteEnd(Exchange how, const QString &expectedStart, qint16 replyLength);

    StoredSettings &m_settings;
    UserPrompt &m_prompt;
    PortMap m_portMap;
    QString m_deviceOverride;
    QString m_openPath;
    PortCheck m_openFailure;
    bool m_openFailed = false;
    QSerialPort m_port;
    NetworkLine m_net;
    QIODevice *m_io = &m_port; // the port in use: the serial port or the network line
    bool m_lostToServer = false;
    QTimer timerTimeout;
    QEventLoop *m_wait = nullptr;
    bool m_busy = false;
    Exchange m_last = Exchange::Good;
    bool m_portLost = false;
    QString m_lastReply;
    bool m_timedOut = false;
    bool m_commFailed = false;
    QString m_errorReply;
    QString m_errorText;
    CommLog *m_log = nullptr;
    QByteArray m_logReply;    // the first reply collected in the exchange being logged
    bool m_endLogged = false; // the end of the exchange under way is in the log

    bool m_alarmLamp = false;
    QString m_alarmCode;
    QString m_alarmComment = QStringLiteral("No Error");
};
