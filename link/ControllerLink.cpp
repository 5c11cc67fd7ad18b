#include "link/ControllerLink.h"

#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "link/NetAddress.h"
#include "link/SerialLine.h"

#include <QEventLoop>
#include <QScopedValueRollback>

ControllerLink::ControllerLink(StoredSettings &settings, QObject *parent)
    : QObject(parent), m_settings(settings), m_serial(newSerialLine()),
      m_net(std::make_unique<NetworkLine>()), m_io(m_serial.get()) {
    // A child, so that it can be found by its name like the window's timers.
    timerTimeout.setParent(this);
    timerTimeout.setObjectName(QStringLiteral("timerTimeout"));
    timerTimeout.setSingleShot(true);
    timerTimeout.setTimerType(Qt::PreciseTimer);
    connect(&timerTimeout, &QTimer::timeout, this, &ControllerLink::onTimerTimeout);
    for (Line *line : {m_serial.get(), static_cast<Line *>(m_net.get())})
        connect(line, &Line::lost, this, &ControllerLink::onLineLost);
}

ControllerLink::~ControllerLink() {
    if (m_io->isOpen())
        m_io->close();
}

QString ControllerLink::openDevicePath() const {
    return m_io->isOpen() ? m_openPath : QString();
}

TlsSettings ControllerLink::tlsSettings() const {
    return TlsSettings::from(m_settings);
}

OpResult ControllerLink::OpenPort() {
    if (m_settings.PortNo < PortMap::FirstNo || m_settings.PortNo > PortMap::LastNo)
        m_settings.ReadPortNo();
    const int n = m_settings.PortNo;
    if (m_io->isOpen())
        return OpResult::done();
    // A network line being connected: the port is not ready, and the connection under way is
    // left alone.
    if (m_busy)
        return OpResult::busy();
    const QString path = devicePathFor(n);
    m_failedNo = n;
    if (path.isEmpty())
        return failOpen(PortMap::comName(n), PortCheck{});
    const bool network = NetAddress::looksLikeUrl(path);
    Line *line = network ? static_cast<Line *>(m_net.get()) : m_serial.get();
    m_net->setTls(tlsSettings());
    bool opened = false;
    {
        // Connecting a network line waits in the event loop: no exchange may start on the
        // half-open line.
        const QScopedValueRollback<bool> busy(m_busy, network);
        opened = line->open(path);
    }
    if (!opened)
        return failOpen(path, whyNotOpened(path));
    m_io = line;
    if (m_log)
        m_log->add(CommLog::Event::Opened, {}, ResText(1712).arg(path));
    // One spelling of a network address for the log, the journal and the results.
    m_openPath = network ? NetAddress::parse(path).url() : path;
    m_portLost = false;
    setState(PortState::Open);
    // What waited on the line before it was ours (a reply to a run that ended early) is no
    // answer to anything we will send.
    discardStaleInput();
    return OpResult::done();
}

void ControllerLink::setSerialLine(std::unique_ptr<Line> line) {
    closeNow();
    m_serial = std::move(line);
    m_io = m_serial.get();
    connect(m_serial.get(), &Line::lost, this, &ControllerLink::onLineLost);
}

PortCheck ControllerLink::whyNotOpened(const QString &path) const {
    if (NetAddress::looksLikeUrl(path))
        return PortCheck::afterFailedConnect(path, *m_net);
    if (m_serial->error() == Line::Error::SettingsRefused) {
        PortCheck check = PortCheck::openHere(path);
        check.state = PortCheck::State::SettingsRefused;
        check.systemError = m_serial->errorString();
        return check;
    }
    return PortCheck::afterFailedOpen(path, m_serial->error() == Line::Error::NotFound,
                                      m_serial->errorString(), m_serial->systemCode());
}

void ControllerLink::onLineLost() {
    // An adapter pulled out, a line hung up, or the server closed the connection: the port is
    // gone; any wait ends at once.
    if (sender() != m_io)
        return;
    m_portLost = true;
    closeNow(isNetworkLine() ? PortState::ServerClosed : PortState::Lost);
}

OpResult ControllerLink::failOpen(const QString &port, const PortCheck &why) {
    if (m_log)
        m_log->add(CommLog::Event::OpenFailed, {}, ResText(1713).arg(port));
    m_openFailure = why;
    // Told also when it failed again: the reason may be another one.
    m_state = PortState::OpenFailed;
    emit portStateChanged(m_state);
    return portFailure(OpResult::Failure::NoPort);
}

void ControllerLink::setState(PortState state) {
    if (m_state == state)
        return;
    m_state = state;
    emit portStateChanged(state);
}

QString ControllerLink::openFailureText() const {
    const QString &device = m_openFailure.mapPath.isEmpty() ? ResText(1304) : m_openFailure.mapPath;
    if (!m_deviceOverride.isEmpty())
        return ResText(1303).arg(m_deviceOverride, m_openFailure.stateText());
    return ResText(1302).arg(m_failedNo).arg(device, m_openFailure.stateText());
}

QString ControllerLink::lineLostText() const {
    const bool server = m_state == PortState::ServerClosed;
    if (!m_deviceOverride.isEmpty())
        return ResText(server ? 1311 : 1308).arg(m_deviceOverride);
    return ResText(server ? 1312 : 1307).arg(m_settings.PortNo).arg(m_openPath);
}

QString ControllerLink::devicePathFor(int n) {
    if (n < PortMap::FirstNo || n > PortMap::LastNo)
        return {};
    return m_deviceOverride.isEmpty() ? m_portMap.devicePath(n) : m_deviceOverride;
}

void ControllerLink::closeNow(PortState after) {
    // A line that went away is still closed, so that the device is let go.
    if (m_io->state() != Line::State::Closed) {
        m_io->close();
        if (m_log)
            m_log->add(CommLog::Event::Closed, {}, ResText(1714).arg(m_openPath));
    }
    // A wait on a port that is gone ends now.
    if (m_wait)
        m_wait->quit();
    if (m_state == PortState::Open || after != PortState::Closed)
        setState(after);
}

void ControllerLink::ReleasePort() {
    if (m_io->isOpen() && !m_settings.OccupyPort)
        closeNow();
}

void ControllerLink::ClosePort() {
    closeNow();
}

// --- error replies and the alarm display ---

QString ControllerLink::errorTextFor(const QString &errorReply) {
    static const char *const codes[] = {"00", "01", "02", "03", "04", "05",
                                        "06", "07", "08", "09", "0A", "0B"};
    const QString head = errorReply.left(5);
    for (int i = 0; i < 12; ++i) {
        if (head == QLatin1String(ErrorReplyStart) + QLatin1String(codes[i]))
            return ResText(260 + i);
    }
    return {};
}

void ControllerLink::clearAlarm() {
    setAlarm(false, QString(), QString());
}

void ControllerLink::hideAlarmLamp() {
    setAlarm(false, m_alarmCode, m_alarmComment);
}

void ControllerLink::setAlarm(bool lamp, const QString &code, const QString &comment) {
    m_alarmLamp = lamp;
    m_alarmCode = code;
    m_alarmComment = comment;
    emit alarmChanged();
}

QString ControllerLink::portName() const {
    return m_deviceOverride.isEmpty() ? PortMap::comName(m_settings.PortNo) : m_deviceOverride;
}
