#include "link/ControllerLink.h"

#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "link/PortIdentity.h"

#include <QEventLoop>
#include <QScopedValueRollback>

ControllerLink::ControllerLink(StoredSettings &settings, UserPrompt &prompt, QObject *parent)
    : QObject(parent), m_settings(settings), m_prompt(prompt) {
    // A child, so that it can be found by its name like the window's timers.
    timerTimeout.setParent(this);
    timerTimeout.setObjectName(QStringLiteral("timerTimeout"));
    timerTimeout.setSingleShot(true);
    timerTimeout.setTimerType(Qt::PreciseTimer);
    connect(&timerTimeout, &QTimer::timeout, this, &ControllerLink::onTimerTimeout);
    connect(&m_port, &SerialLine::errorOccurred, this, &ControllerLink::onPortError);
    // A line that sends more than is read waits in the driver rather than in memory.
    m_port.setReadBufferSize(MaxStaleInput);
    connect(&m_net, &NetworkLine::lineLost, this, &ControllerLink::onLineLost);
}

ControllerLink::~ControllerLink() {
    if (m_io->isOpen())
        m_io->close();
}

QString ControllerLink::openDevicePath() const {
    return m_io->isOpen() ? m_openPath : QString();
}

qint16 ControllerLink::OpenPort() {
    if (m_settings.PortNo < PortMap::FirstNo || m_settings.PortNo > PortMap::LastNo)
        m_settings.ReadPortNo();
    const int n = m_settings.PortNo;
    if (m_io->isOpen())
        return 0;
    // A network line being connected: the port is not ready, and the connection under way is
    // left alone.
    if (m_busy)
        return 1;
    const QString path = devicePathFor(n);
    m_failedNo = n;
    if (path.isEmpty()) {
        failOpen(PortMap::comName(n), PortCheck{});
        return 1;
    }
    if (NetAddress::looksLikeUrl(path))
        return openNetwork(path) ? 0 : 1;
    m_io = &m_port;
    m_port.setPortName(PortIdentity::openName(path));
    if (!m_port.open(QIODevice::ReadWrite)) {
        failOpen(path,
                 PortCheck::afterFailedOpen(path, m_port.error() == SerialLine::DeviceNotFoundError,
                                            m_port.errorString()));
        return 1;
    }
    // Another spelling of a device that someone holds: told as in use, like the same spelling.
    if (!PortIdentity::hold(m_port)) {
        m_port.close();
        failOpen(path, PortCheck::afterFailedOpen(path, false, QString()));
        return 1;
    }
    if (m_log)
        m_log->add(CommLog::Event::Opened, {}, ResText(1712).arg(path));
    m_openPath = path;
    m_portLost = false;
    setState(PortState::Open);
    // Line settings go on after opening; a failing step leaves the port open.
    if (!m_port.setBaudRate(SerialLine::Baud9600) || !m_port.setParity(SerialLine::NoParity) ||
        !m_port.setDataBits(SerialLine::Data8) || !m_port.setStopBits(SerialLine::OneStop) ||
        !m_port.setFlowControl(SerialLine::NoFlowControl))
        return 1;
    // What waited on the line before it was ours (a reply to a run that ended early) is no
    // answer to anything we will send.
    discardStaleInput();
    return 0;
}

bool ControllerLink::openNetwork(const QString &url) {
    bool opened = false;
    {
        // Connecting waits in the event loop: no exchange may start on the half-open line.
        const QScopedValueRollback<bool> busy(m_busy, true);
        opened = m_net.openLine(NetAddress::parse(url));
    }
    if (!opened) {
        failOpen(url, PortCheck::afterFailedConnect(url, m_net));
        return false;
    }
    m_io = &m_net;
    if (m_log)
        m_log->add(CommLog::Event::Opened, {}, ResText(1712).arg(url));
    // One spelling of the address for the log, the journal and the results.
    m_openPath = NetAddress::parse(url).url();
    m_portLost = false;
    setState(PortState::Open);
    discardStaleInput();
    return true;
}

void ControllerLink::onLineLost() {
    // The server closed the connection or the network failed: like an adapter pulled out.
    m_portLost = true;
    closeNow(PortState::ServerClosed);
}

void ControllerLink::failOpen(const QString &port, const PortCheck &why) {
    if (m_log)
        m_log->add(CommLog::Event::OpenFailed, {}, ResText(1713).arg(port));
    m_openFailure = why;
    // Told also when it failed again: the reason may be another one.
    m_state = PortState::OpenFailed;
    emit portStateChanged(m_state);
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
    if (m_io->isOpen()) {
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

void ControllerLink::onPortError(SerialLine::SerialPortError error) {
    // An adapter pulled out or a line hung up: the port is gone; any wait ends at once. A hung-up
    // line shows as a failing read, a pulled adapter as a lost resource.
    if (error != SerialLine::ResourceError && error != SerialLine::ReadError &&
        error != SerialLine::WriteError)
        return;
    m_portLost = true;
    closeNow(PortState::Lost);
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
