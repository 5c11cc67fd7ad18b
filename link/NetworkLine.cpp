#include "link/NetworkLine.h"

#include "base/ResText.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <utility>

#ifdef Q_OS_LINUX
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#endif

NetworkLine::NetworkLine(QObject *parent) : QIODevice(parent) {
    connect(&m_socket, &QTcpSocket::readyRead, this, &NetworkLine::onSocketReadable);
    connect(&m_socket, &QTcpSocket::disconnected, this, &NetworkLine::onSocketGone);
    connect(&m_socket, &QTcpSocket::connected, this, &NetworkLine::step);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError e) {
        // A wait that ran out of time is no fault of the line.
        if (e == QAbstractSocket::SocketTimeoutError)
            return;
        if (m_opening)
            step();
        else if (m_open)
            onSocketGone();
    });
    m_limit.setSingleShot(true);
    m_limit.setTimerType(Qt::PreciseTimer);
    connect(&m_limit, &QTimer::timeout, this, &NetworkLine::step);
    connect(&m_socket, &QTcpSocket::bytesWritten, this, &NetworkLine::bytesWritten);
    m_socket.setReadBufferSize(MaxPending);
}

NetworkLine::~NetworkLine() {
    m_closing = true;
    m_socket.abort();
}

void NetworkLine::fail(Failure failure, const QString &detail) {
    if (m_failure == Failure::Openable) {
        m_failure = failure;
        m_detail = detail;
    }
}

bool NetworkLine::openLine(const NetAddress &address, int timeoutMs) {
    startOpen(address, timeoutMs);
    if (m_opening) {
        QEventLoop loop;
        const auto done = connect(this, &NetworkLine::openFinished, &loop, &QEventLoop::quit);
        while (m_opening)
            loop.exec();
        disconnect(done);
    }
    return m_open;
}

void NetworkLine::startOpen(const NetAddress &address, int timeoutMs) {
    if (isOpen() || m_opening)
        close();
    m_address = address;
    m_failure = Failure::Openable;
    m_detail.clear();
    m_in.clear();
    m_codec.reset();
    m_connected = false;
    if (!address.isValid()) {
        fail(Failure::BadAddress);
        emit openFinished(false);
        return;
    }
    m_opening = true;
    m_limit.start(timeoutMs);
    m_socket.connectToHost(address.host, address.port);
    step();
}

void NetworkLine::step() {
    if (!m_opening)
        return;
    const bool timeIsUp = !m_limit.isActive();
    if (!m_connected) {
        if (m_socket.state() == QAbstractSocket::ConnectedState) {
            onConnected();
        } else {
            if (m_socket.state() == QAbstractSocket::UnconnectedState)
                failConnecting(timeIsUp);
            else if (timeIsUp)
                fail(Failure::NoAnswer);
            if (m_failure != Failure::Openable)
                finishOpening();
            return;
        }
    }
    if (m_failure == Failure::Openable && m_address.kind == NetAddress::Kind::Rfc2217)
        negotiate(timeIsUp);
    if (m_failure != Failure::Openable || m_address.kind == NetAddress::Kind::Tcp ||
        (m_codec.settingsSent() && m_codec.firstUnanswered() < 0))
        finishOpening();
}

void NetworkLine::onConnected() {
    m_connected = true;
    m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    if (!QIODevice::open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        fail(Failure::Failed, errorString());
        return;
    }
    if (m_address.kind == NetAddress::Kind::Rfc2217)
        writeRaw(m_codec.startNegotiation());
}

void NetworkLine::failConnecting(bool timeIsUp) {
    switch (m_socket.error()) {
    case QAbstractSocket::ConnectionRefusedError:
        fail(Failure::Refused);
        break;
    case QAbstractSocket::HostNotFoundError:
        fail(Failure::HostNotFound);
        break;
    default:
        if (timeIsUp)
            fail(Failure::NoAnswer);
        else
            fail(Failure::Failed, m_socket.errorString());
    }
}

void NetworkLine::negotiate(bool timeIsUp) {
    if (m_codec.comPortRefused()) {
        fail(Failure::NoComPortOption);
        return;
    }
    if (m_codec.comPortAgreed() && !m_codec.settingsSent())
        writeRaw(m_codec.comPortSettings());
    if (settingsFailed(false))
        return;
    if (m_socket.state() != QAbstractSocket::ConnectedState) {
        fail(Failure::ServerClosed);
        return;
    }
    if (timeIsUp && !settingsFailed(true))
        fail(Failure::NoAnswer);
}

void NetworkLine::finishOpening() {
    m_opening = false;
    m_limit.stop();
    m_codec.settleSettings();
    if (m_failure == Failure::Openable) {
        m_open = true;
    } else {
        QIODevice::close();
        m_closing = true;
        m_socket.abort();
        m_closing = false;
        m_in.clear();
    }
    emit openFinished(m_open);
}

bool NetworkLine::settingsFailed(bool timeIsUp) {
    const auto name = [](int i) { return ResText(TelnetCodec::settings()[size_t(i)].nameText); };
    const int different = m_codec.firstDifferent();
    if (different >= 0) {
        const TelnetCodec::Setting &asked = TelnetCodec::settings()[size_t(different)];
        const int width = m_codec.answerWidth(different);
        // The same value in another width is told by its width; it would read as agreed.
        const QString answered =
            width == asked.width
                ? QString::number(*m_codec.answer(different))
                : ResText(1683).arg(*m_codec.answer(different)).arg(width).arg(asked.width);
        fail(Failure::SettingsRefused,
             ResText(1545).arg(name(different)).arg(asked.value).arg(answered));
        return true;
    }
    const int missing = m_codec.firstUnanswered();
    if (timeIsUp && m_codec.settingsSent() && missing >= 0) {
        fail(Failure::SettingsRefused, ResText(1546).arg(name(missing)));
        return true;
    }
    return false;
}

void NetworkLine::writeRaw(const QByteArray &bytes) {
    if (!bytes.isEmpty())
        m_socket.write(bytes);
}

void NetworkLine::acknowledgeNow() {
#ifdef Q_OS_LINUX
    // The system leaves quick acknowledgement again by itself, so it is asked for after each
    // read and write.
    const qintptr fd = m_socket.socketDescriptor();
    if (fd < 0)
        return;
    const int one = 1;
    ::setsockopt(int(fd), IPPROTO_TCP, TCP_QUICKACK, &one, sizeof one);
#endif
}

void NetworkLine::pull() {
    m_pullQueued = false;
    const qsizetype room = MaxPending - m_in.size();
    // While the line is set up, the server's answers must be read past whatever data came
    // before them; that data is no reply to anything and is cut to the reader's share.
    const QByteArray bytes = m_open ? m_socket.read(qMax<qsizetype>(room, 0)) : m_socket.readAll();
    if (bytes.isEmpty())
        return;
    acknowledgeNow();
    if (m_address.kind == NetAddress::Kind::Tcp) {
        m_in += bytes.left(qMax<qsizetype>(room, 0));
        return;
    }
    QByteArray data;
    m_codec.decode(bytes.constData(), bytes.size(), data);
    m_in += data.left(qMax<qsizetype>(room, 0));
    writeRaw(m_codec.takeOutgoing());
}

void NetworkLine::onSocketReadable() {
    const qsizetype before = m_in.size();
    pull();
    if (m_opening)
        step();
    else if (m_in.size() > before && isOpen())
        emit readyRead();
}

void NetworkLine::onSocketGone() {
    if (m_closing)
        return;
    if (m_opening) {
        step();
        return;
    }
    if (!m_open)
        return;
    // What came with the closing is kept for the reader; the line itself is gone.
    m_open = false;
    emit lineLost();
}

void NetworkLine::close() {
    const bool wasOpening = std::exchange(m_opening, false);
    m_limit.stop();
    m_open = false;
    m_closing = true;
    if (m_socket.state() == QAbstractSocket::ConnectedState) {
        // What was written still leaves before the connection ends.
        m_socket.disconnectFromHost();
        if (m_socket.state() != QAbstractSocket::UnconnectedState)
            m_socket.waitForDisconnected(1000);
    }
    m_socket.abort();
    m_closing = false;
    m_in.clear();
    QIODevice::close();
    if (wasOpening) {
        fail(Failure::Failed);
        emit openFinished(false);
    }
}

qint64 NetworkLine::bytesAvailable() const {
    return m_in.size() + QIODevice::bytesAvailable();
}

qint64 NetworkLine::bytesToWrite() const {
    return m_socket.bytesToWrite();
}

bool NetworkLine::waitForReadyRead(int msecs) {
    const qsizetype before = m_in.size();
    if (m_socket.state() == QAbstractSocket::ConnectedState && m_socket.bytesAvailable() == 0)
        m_socket.waitForReadyRead(msecs);
    if (m_socket.bytesAvailable() > 0)
        pull();
    return m_in.size() > before;
}

bool NetworkLine::waitForBytesWritten(int msecs) {
    return m_socket.waitForBytesWritten(msecs);
}

qint64 NetworkLine::readData(char *data, qint64 maxSize) {
    const qint64 n = qMin<qint64>(maxSize, m_in.size());
    memcpy(data, m_in.constData(), size_t(n));
    m_in.remove(0, n);
    // What the socket held back while the reader's share was full comes in now, not inside
    // this read.
    if (n > 0 && m_socket.bytesAvailable() > 0 && !m_pullQueued) {
        m_pullQueued = true;
        QMetaObject::invokeMethod(this, &NetworkLine::onSocketReadable, Qt::QueuedConnection);
    }
    return n;
}

qint64 NetworkLine::writeData(const char *data, qint64 size) {
    if (m_socket.state() != QAbstractSocket::ConnectedState)
        return -1;
    const QByteArray out = m_address.kind == NetAddress::Kind::Tcp
                               ? QByteArray(data, qsizetype(size))
                               : m_codec.encode(data, qsizetype(size));
    if (m_socket.write(out) != out.size())
        return -1;
    // Out at once, and the reply to it acknowledged at once.
    m_socket.flush();
    acknowledgeNow();
    return size;
}
