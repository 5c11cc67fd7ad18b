#include "link/ControllerLink.h"

#include "base/ResText.h"
#include "base/StoredSettings.h"

#include <QEventLoop>
#include <QScopedValueRollback>
#include <QSignalBlocker>

#include <utility>

ControllerLink::ControllerLink(StoredSettings &settings, UserPrompt &prompt, QObject *parent)
    : QObject(parent), m_settings(settings), m_prompt(prompt) {
    // A child, so that it can be found by its name like the window's timers.
    timerTimeout.setParent(this);
    timerTimeout.setObjectName(QStringLiteral("timerTimeout"));
    timerTimeout.setSingleShot(true);
    timerTimeout.setTimerType(Qt::PreciseTimer);
    connect(&timerTimeout, &QTimer::timeout, this, &ControllerLink::onTimerTimeout);
    connect(&m_port, &QSerialPort::errorOccurred, this, &ControllerLink::onPortError);
    // A line that sends more than is read waits in the driver rather than in memory.
    m_port.setReadBufferSize(MaxStaleInput);
    connect(&m_net, &NetworkLine::lineLost, this, &ControllerLink::onLineLost);
}

ControllerLink::~ControllerLink() {
    if (m_io->isOpen())
        m_io->close();
}

bool ControllerLink::isPortOpen() const {
    return m_io->isOpen();
}

QString ControllerLink::openDevicePath() const {
    return m_io->isOpen() ? m_openPath : QString();
}

qint16 ControllerLink::OpenPort() {
    if (m_settings.PortNo < PortMap::FirstNo || m_settings.PortNo > PortMap::LastNo)
        m_settings.ReadPortNo();
    return openNumber(m_settings.PortNo);
}

qint16 ControllerLink::OpenPortNo(qint16 n) {
    if (n < PortMap::FirstNo || n > PortMap::LastNo) {
        StoredSettings stored;
        stored.ReadPortNo();
        n = stored.PortNo;
    }
    return openNumber(n);
}

qint16 ControllerLink::openNumber(int n) {
    if (m_io->isOpen())
        return 0;
    // A network line being connected: the port is not ready, and the connection under way is
    // left alone.
    if (m_busy)
        return 1;
    // A port that cannot be opened counts as the outcome of the exchange that needed it.
    const Exchange before = m_last;
    m_last = Exchange::NoPort;
    const QString path = devicePathFor(n);
    if (path.isEmpty()) {
        m_openFailure = PortCheck{};
        m_openFailed = true;
        logOpenFailure(QStringLiteral("COM%1").arg(n));
        emit portOpenFailed();
        return 1;
    }
    if (NetAddress::looksLikeUrl(path)) {
        if (!openNetwork(path))
            return 1;
        m_last = before;
        return 0;
    }
    m_io = &m_port;
    m_port.setPortName(path);
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_openFailure = PortCheck::afterFailedOpen(
            path, m_port.error() == QSerialPort::DeviceNotFoundError, m_port.errorString());
        m_openFailed = true;
        logOpenFailure(path);
        emit portOpenFailed();
        return 1;
    }
    m_openFailure = PortCheck{};
    m_openFailed = false;
    if (m_log)
        m_log->add(CommLog::Event::Opened, {}, ResText(1712).arg(path));
    m_openPath = path;
    m_portLost = false;
    m_lostToServer = false;
    emit portOpenChanged(true);
    // Line settings go on after opening; a failing step leaves the port open.
    if (!m_port.setBaudRate(QSerialPort::Baud9600) || !m_port.setParity(QSerialPort::NoParity) ||
        !m_port.setDataBits(QSerialPort::Data8) || !m_port.setStopBits(QSerialPort::OneStop) ||
        !m_port.setFlowControl(QSerialPort::NoFlowControl))
        return 1;
    // What waited on the line before it was ours (a reply to a run that ended early) is no
    // answer to anything we will send.
    discardStaleInput();
    m_last = before;
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
        m_openFailure = PortCheck::afterFailedConnect(url, m_net);
        m_openFailed = true;
        logOpenFailure(url);
        emit portOpenFailed();
        return false;
    }
    m_io = &m_net;
    m_openFailure = PortCheck{};
    m_openFailed = false;
    if (m_log)
        m_log->add(CommLog::Event::Opened, {}, ResText(1712).arg(url));
    m_openPath = url;
    m_portLost = false;
    m_lostToServer = false;
    emit portOpenChanged(true);
    discardStaleInput();
    return true;
}

void ControllerLink::onLineLost() {
    // The server closed the connection or the network failed: like an adapter pulled out.
    m_portLost = true;
    m_lostToServer = true;
    closeNow();
}

void ControllerLink::logOpenFailure(const QString &port) {
    if (m_log)
        m_log->add(CommLog::Event::OpenFailed, {}, ResText(1713).arg(port));
}

QString ControllerLink::devicePathFor(int n) {
    if (n < PortMap::FirstNo || n > PortMap::LastNo)
        return {};
    return m_deviceOverride.isEmpty() ? m_portMap.devicePath(n) : m_deviceOverride;
}

void ControllerLink::closeNow() {
    if (m_io->isOpen()) {
        m_io->close();
        if (m_log)
            m_log->add(CommLog::Event::Closed, {}, ResText(1714).arg(m_openPath));
    }
    // A wait on a port that is gone ends now.
    if (m_wait)
        m_wait->quit();
    emit portOpenChanged(false);
}

void ControllerLink::ReleasePort() {
    if (m_io->isOpen() && !m_settings.OccupyPort)
        closeNow();
}

void ControllerLink::ClosePort() {
    closeNow();
}

ControllerLink::PortProbe ControllerLink::ProbePorts(QHash<QString, PortCheck> *networkChecks) {
    PortProbe found{};
    if (m_io->isOpen())
        closeNow();
    if (m_deviceOverride.isEmpty())
        m_portMap.refresh();
    // The probe's failures are no operation's failure: the last reason shown stays.
    const PortCheck failure = m_openFailure;
    const bool failed = m_openFailed;
    {
        const QSignalBlocker quiet(this);
        // Trying the 32 numbers is not talk with the controller: the log would only fill up.
        CommLog *const log = std::exchange(m_log, nullptr);
        // Each number's device is looked up once; the network entries are tried together.
        std::array<QString, PortMap::LastNo + 1> paths;
        QStringList urls;
        for (int n = PortMap::FirstNo; n <= PortMap::LastNo; ++n) {
            paths[size_t(n)] = devicePathFor(n);
            if (NetAddress::looksLikeUrl(paths[size_t(n)]))
                urls.append(paths[size_t(n)]);
        }
        const QList<PortCheck> checks = PortCheck::ofAll(urls);
        QHash<QString, PortCheck> byUrl;
        for (qsizetype i = 0; i < urls.size(); ++i)
            byUrl.insert(urls[i], checks[i]);
        for (int n = PortMap::FirstNo; n <= PortMap::LastNo; ++n) {
            const QString &path = paths[size_t(n)];
            if (NetAddress::looksLikeUrl(path)) {
                found[size_t(n)] = byUrl.value(path).state == PortCheck::State::Openable;
                continue;
            }
            found[size_t(n)] = OpenPortNo(qint16(n)) == 0;
            // A port that opened but refused a line setting is closed too.
            if (m_io->isOpen())
                closeNow();
        }
        m_log = log;
        if (networkChecks)
            *networkChecks = byUrl;
    }
    m_openFailure = failure;
    m_openFailed = failed;
    emit portOpenChanged(false);
    return found;
}

void ControllerLink::onPortError(QSerialPort::SerialPortError error) {
    // An adapter pulled out or a line hung up: the port is gone; any wait ends at once. A hung-up
    // line shows as a failing read, a pulled adapter as a lost resource.
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError &&
        error != QSerialPort::WriteError)
        return;
    m_portLost = true;
    closeNow();
}

// --- error replies and the alarm display ---

QString ControllerLink::errorTextFor(const QString &errorReply) {
    static const char *const codes[] = {"00", "01", "02", "03", "04", "05",
                                        "06", "07", "08", "09", "0A", "0B"};
    const QString head = errorReply.left(5);
    for (int i = 0; i < 12; ++i) {
        if (head == QLatin1String("0%%") + QLatin1String(codes[i]))
            return ResText(260 + i);
    }
    return {};
}

void ControllerLink::ShowErrorReply(const QString &errorReply) {
    m_errorReply = errorReply;
    m_errorText = errorTextFor(errorReply);
    setAlarm(true, errorReply.left(5).mid(3, 2), m_errorText);
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
    return m_deviceOverride.isEmpty() ? QStringLiteral("COM%1").arg(m_settings.PortNo)
                                      : m_deviceOverride;
}
