#pragma once

#include "base/OpResult.h"
#include "link/CommLog.h"
#include "link/ControllerCommands.h"
#include "link/ControllerExchange.h"
#include "link/ControllerScope.h"
#include "link/Line.h"
#include "link/NetworkLine.h"
#include "link/PortCheck.h"
#include "link/PortMap.h"
#include "link/TlsSettings.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

class StoredSettings;
class QEventLoop;

// The port as the status bar and the port lamp show it.
enum class PortState {
    Closed,       // not open (never opened, released, or closed on purpose)
    Open,         // open and set up
    OpenFailed,   // the last attempt to open it failed (openFailureText() says why)
    Lost,         // it went away during use (adapter pulled, line hung up)
    ServerClosed, // a network line that its server closed
};

// The serial line to the controller: opening and releasing the port, the exchange of one command
// line for one reply line, the controller's error replies and the alarm display they set. The
// windows show the port state and the alarm display; the operations ask for the controller
// (controller()) and talk to it through the scope they get. Nothing here talks to the user: the
// results say what happened and the operations present them.
class ControllerLink : public QObject, public ControllerExchange {
    Q_OBJECT
public:
    explicit ControllerLink(StoredSettings &settings, QObject *parent = nullptr);
    ~ControllerLink() override;

    // --- serial port ---
    PortState portState() const { return m_state; }
    bool isPortOpen() const { return m_io->isOpen(); }
    // Done when the port is open and set up (or was open already); busy while a network line is
    // still being connected; otherwise NoPort naming the port and why (it cannot be opened, or it
    // refused a line setting and was closed again). Shows no message.
    OpResult OpenPort();
    // Closes the port unless the port is to be kept (OccupyPort).
    void ReleasePort() override;
    // Closes the port whatever OccupyPort says; the port lamp goes off at once.
    void ClosePort();

    // What network lines over TLS check and present: the stored settings' files and pin.
    TlsSettings tlsSettings() const;

    // The device path (or network URL) of the port now open (empty while closed).
    QString openDevicePath() const;
    // Whether the port now open is a network line.
    bool isNetworkLine() const { return m_io == m_net.get(); }
    // Makes every port number reach this device, leaving the stored map alone (demos, tools);
    // empty to use the map again.
    void setDeviceOverride(const QString &path) { m_deviceOverride = path; }
    const QString &deviceOverride() const { return m_deviceOverride; }
    // The serial line to use in place of the platform's, while no port is open (tests).
    void setSerialLine(std::unique_ptr<Line> line);
    // The controller as the user named it: the override's path, else "COM3" of the stored number.
    QString portName() const;
    PortMap &portMap() { return m_portMap; }
    // The device COM n reaches: the override, else the map's entry (numbering new devices first).
    QString devicePathFor(int n);
    // Why the port could not be opened, while the state is OpenFailed, in one line that names the
    // port and the device ("COM3 (/dev/ttyUSB0) cannot be opened: ...").
    QString openFailureText() const;

    // --- the controller ---
    // What asking for the controller does before the scope is handed over.
    enum class Opening {
        Checked,  // the port, then the communication check
        PortOnly, // the port alone (the reset checks after its command; the I/O monitor never)
    };
    // The controller for one operation: refused as busy while another exchange waits (nothing is
    // touched), as NoPort when the port cannot be opened (the result names the port and why), or
    // as the check's failure (its message for the operation to show); otherwise a scope that
    // holds the opened port and releases it when it ends. ready runs once the busy refusal is
    // past, before the port is touched: what the operation does only when it goes ahead (its
    // controls disabled, its progress window shown).
    ControllerScope controller(Opening opening = Opening::Checked,
                               const std::function<void()> &ready = {});
    // What is taken as stale input before a command, at most: what waits then, not what keeps
    // coming. A line holds no more than this for the link either.
    static constexpr qsizetype MaxStaleInput = Line::MaxHeld;
    static constexpr int MaxStaleInputMs = 20;
    // True while an exchange waits for its reply.
    bool isBusy() const { return m_busy; }

    // --- the alarm display ---
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

    // ControllerExchange, for the scopes handed out.
    Valued<QString> exchange(ControllerCommand command, const QString &data) override;
    OpResult sendNoReply(ControllerCommand command) override;

signals:
    void alarmChanged();
    // The port opened, closed, could not be opened or went away.
    void portStateChanged(PortState state);

private:
    enum class WaitEnd { Reply, TimedOut, PortLost, TooLong };

    void setState(PortState state);
    // Closes the port; the state becomes after (Closed unless it went away).
    void closeNow(PortState after = PortState::Closed);
    // Records why the port could not be opened: the log, the state; the failure that tells it.
    OpResult failOpen(const QString &port, const PortCheck &why);
    // Why the line failed to open path.
    PortCheck whyNotOpened(const QString &path) const;
    void onLineLost();
    void onTimerTimeout();
    // Drops (and logs) the input waiting before a command line is written.
    void discardStaleInput();
    bool writeLine(const QString &line);
    // The serial port's last write ran out of time.
    bool writeTimedOut() const;
    // Collects a reply line; one that grows past limit ends the wait at once (TooLong).
    WaitEnd waitForReply(QByteArray &buffer, int timeoutMs, qsizetype limit);
    Valued<QString> exchangeOpen(const CommandForm &form, const QString &line,
                                 const QString &expected);
    // The recovery exchange after a malformed reply; the error reply it brought, if any.
    QString recover(bool &portLost, int timeoutMs);
    // A failure the user is to be shown: logs the end before anyone shows the message.
    OpResult failWith(OpResult result);
    // The port's failure (NoPort, PortGone) with the port's name and why.
    OpResult portFailure(OpResult::Failure kind) const;
    // Why the line went, naming the port and its device.
    QString lineLostText() const;
    // Takes an error reply: the alarm display, and the failure that tells it.
    OpResult takeErrorReply(const QString &errorReply);
    void setAlarm(bool lamp, const QString &code, const QString &comment);
    // Log entries (ControllerLinkLog.cpp); called only while a log is set.
    void logReceived(const QByteArray &buffer);
    void logEnd(const OpResult &how, const QString &expectedStart, qint16 replyLength);
    // Logs how the exchange ended, once, as soon as it is known (before any message is shown).
    void noteEnd(const OpResult &how, const QString &expectedStart, qint16 replyLength);

    StoredSettings &m_settings;
    PortMap m_portMap;
    QString m_deviceOverride;
    QString m_openPath;
    PortState m_state = PortState::Closed;
    PortCheck m_openFailure;
    int m_failedNo = 0; // the number whose open failed
    std::unique_ptr<Line> m_serial;
    std::unique_ptr<NetworkLine> m_net;
    Line *m_io = nullptr; // the line in use: the serial line or the network line
    QTimer timerTimeout;
    QEventLoop *m_wait = nullptr;
    bool m_busy = false;
    bool m_timedOut = false;
    bool m_portLost = false;
    CommLog *m_log = nullptr;
    QByteArray m_logReply;    // the first reply collected in the exchange being logged
    bool m_endLogged = false; // the end of the exchange under way is in the log

    bool m_alarmLamp = false;
    QString m_alarmCode;
    QString m_alarmComment = QStringLiteral("No Error");
};
