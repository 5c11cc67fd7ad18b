#include "link/NetworkLine.h"

#include "base/ResText.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <utility>

NetworkLine::NetworkLine(QObject *parent) : Line(parent) {
    m_limit.setSingleShot(true);
    m_limit.setTimerType(Qt::PreciseTimer);
    connect(&m_limit, &QTimer::timeout, this, &NetworkLine::step);
    m_settle.setSingleShot(true);
    connect(&m_settle, &QTimer::timeout, this, &NetworkLine::step);
    useSocket(false);
}

void NetworkLine::useSocket(bool tls) {
    if (m_socket && (ssl() != nullptr) == tls)
        return;
    if (m_socket) {
        // Its signals may still be queued: it goes once they are, telling nothing more.
        m_socket->disconnect(this);
        m_socket->abort();
        m_socket.release()->deleteLater();
    }
    if (tls) {
        auto *socket = new QSslSocket;
        connect(socket, &QSslSocket::sslErrors, this, &NetworkLine::onSslErrors);
        connect(socket, &QSslSocket::encrypted, this, &NetworkLine::onEncrypted);
        m_socket.reset(socket);
    } else {
        m_socket = std::make_unique<QTcpSocket>();
    }
    QTcpSocket *socket = m_socket.get();
    connect(socket, &QTcpSocket::readyRead, this, &NetworkLine::onSocketReadable);
    connect(socket, &QTcpSocket::disconnected, this, &NetworkLine::onSocketGone);
    connect(socket, &QTcpSocket::connected, this, [this, socket] {
        // The TLS handshake's pieces go out at once as well.
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        m_handshake.start();
        step();
    });
    connect(socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError e) {
        // A wait that ran out of time is no fault of the line.
        if (e == QAbstractSocket::SocketTimeoutError)
            return;
        if (m_opening) {
            m_openingError = e;
            step();
        } else if (isOpen()) {
            onSocketGone();
        }
    });
    connect(socket, &QTcpSocket::bytesWritten, this, &NetworkLine::bytesWritten);
    socket->setReadBufferSize(MaxPending);
}

NetworkLine::~NetworkLine() {
    m_closing = true;
    if (m_socket)
        m_socket->abort();
}

void NetworkLine::fail(Failure failure, const QString &detail) {
    if (m_failure == Failure::None) {
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
    return isOpen();
}

bool NetworkLine::open(const QString &url) {
    return openLine(NetAddress::parse(url));
}

void NetworkLine::startOpen(const NetAddress &address, int timeoutMs) {
    if (state() != State::Closed || m_opening)
        close();
    // The connection of the last opening may still be ending.
    if (m_socket->state() != QAbstractSocket::UnconnectedState &&
        !m_socket->waitForDisconnected(ConnectTimeoutMs))
        m_socket->abort();
    useSocket(address.tls);
    m_address = address;
    m_failure = Failure::None;
    setError(Error::None);
    m_detail.clear();
    m_in.clear();
    m_codec.reset();
    m_connected = false;
    m_encrypted = false;
    m_gotData = false;
    m_handshakeMs = -1;
    m_handshake.invalidate();
    m_openingError = QAbstractSocket::UnknownSocketError;
    if (!address.isValid())
        fail(Failure::BadAddress);
    else if (address.tls)
        prepareTls();
    if (m_failure != Failure::None) {
        setError(Error::CannotOpen, m_detail);
        emit openFinished(false);
        return;
    }
    m_opening = true;
    m_limit.start(timeoutMs);
    if (address.tls)
        ssl()->connectToHostEncrypted(address.host, address.port);
    else
        m_socket->connectToHost(address.host, address.port);
    step();
}

void NetworkLine::step() {
    if (!m_opening)
        return;
    const bool timeIsUp = !m_limit.isActive();
    if (!m_connected) {
        if (transportReady()) {
            onConnected();
        } else {
            if (tlsFailed(timeIsUp)) {
                // told by TLS
            } else if (m_socket->state() == QAbstractSocket::UnconnectedState) {
                failConnecting(timeIsUp);
            } else if (timeIsUp) {
                fail(Failure::NoAnswer);
            }
            if (m_failure != Failure::None)
                finishOpening();
            return;
        }
    }
    // A server that refuses the operator's certificate closes the connection before it says
    // anything.
    if (m_failure == Failure::None && m_address.tls && !m_gotData &&
        m_socket->state() != QAbstractSocket::ConnectedState)
        tlsFailed(timeIsUp);
    if (m_failure == Failure::None && m_address.kind == NetAddress::Kind::Rfc2217)
        negotiate(timeIsUp);
    if (m_failure != Failure::None ||
        (m_address.kind == NetAddress::Kind::Tcp && (acceptSettled() || timeIsUp)) ||
        (m_codec.settingsSent() && m_codec.firstUnanswered() < 0))
        finishOpening();
}

void NetworkLine::onConnected() {
    m_connected = true;
    if (m_address.kind == NetAddress::Kind::Rfc2217)
        writeRaw(m_codec.startNegotiation());
}

void NetworkLine::failConnecting(bool timeIsUp) {
    switch (m_socket->error()) {
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
            fail(Failure::Failed, m_socket->errorString());
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
    if (m_socket->state() != QAbstractSocket::ConnectedState) {
        fail(Failure::ServerClosed);
        return;
    }
    if (timeIsUp && !settingsFailed(true))
        fail(Failure::NoAnswer);
}

void NetworkLine::finishOpening() {
    m_opening = false;
    m_limit.stop();
    m_settle.stop();
    m_codec.settleSettings();
    if (m_failure == Failure::None) {
        setState(State::Open);
    } else {
        setError(m_failure == Failure::SettingsRefused || m_failure == Failure::NoComPortOption
                     ? Error::SettingsRefused
                     : Error::CannotOpen,
                 m_detail);
        m_closing = true;
        m_socket->abort();
        m_closing = false;
        m_in.clear();
    }
    emit openFinished(isOpen());
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
        m_socket->write(bytes);
}

void NetworkLine::pull() {
    m_pullQueued = false;
    // A connection that ends after its line was closed: what still comes is nobody's.
    if (state() == State::Closed && !m_opening) {
        m_socket->readAll();
        return;
    }
    const qsizetype room = MaxPending - m_in.size();
    // While the line is set up, the server's answers must be read past whatever data came
    // before them; that data is no reply to anything and is cut to the reader's share.
    const QByteArray bytes =
        isOpen() ? m_socket->read(qMax<qsizetype>(room, 0)) : m_socket->readAll();
    if (bytes.isEmpty())
        return;
    m_gotData = true;
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
    // What came with the closing is kept for the reader; the line itself is gone.
    goneAway(m_socket->errorString());
}

void NetworkLine::close() {
    const bool wasOpening = std::exchange(m_opening, false);
    m_limit.stop();
    m_settle.stop();
    setState(State::Closed);
    m_closing = true;
    // What was written still leaves before the connection ends; the connection ends on its own
    // after that, without anyone waiting for it.
    if (m_socket->state() == QAbstractSocket::ConnectedState)
        m_socket->disconnectFromHost();
    else
        m_socket->abort();
    m_closing = false;
    m_in.clear();
    wake();
    if (wasOpening) {
        fail(Failure::Failed);
        emit openFinished(false);
    }
}

bool NetworkLine::waitForReadyRead(int msecs) {
    const qsizetype before = m_in.size();
    if (m_socket->state() == QAbstractSocket::ConnectedState && m_socket->bytesAvailable() == 0)
        m_socket->waitForReadyRead(msecs);
    if (m_socket->bytesAvailable() > 0)
        pull();
    return m_in.size() > before;
}

bool NetworkLine::drain(int msecs) {
    if (!waitUntil([this] { return m_socket->bytesToWrite() == 0; }, msecs))
        return false;
    // The server passes the line on to its serial port at 9600 baud; closing the connection
    // before that could make it drop what it still holds (the restart after a write).
    waitUntil([] { return false; }, DrainMs);
    return isOpen();
}

QByteArray NetworkLine::read(qint64 max) {
    const QByteArray out = m_in.left(qsizetype(max));
    m_in.remove(0, out.size());
    // What the socket held back while the reader's share was full comes in now, not inside
    // this read.
    if (!out.isEmpty() && m_socket->bytesAvailable() > 0 && !m_pullQueued) {
        m_pullQueued = true;
        QMetaObject::invokeMethod(this, &NetworkLine::onSocketReadable, Qt::QueuedConnection);
    }
    return out;
}

qint64 NetworkLine::write(const QByteArray &bytes) {
    if (!isOpen() || m_socket->state() != QAbstractSocket::ConnectedState)
        return -1;
    const QByteArray out = m_address.kind == NetAddress::Kind::Tcp
                               ? bytes
                               : m_codec.encode(bytes.constData(), bytes.size());
    if (m_socket->write(out) != out.size())
        return -1;
    // Out at once, and the reply to it acknowledged at once.
    m_socket->flush();
    acknowledgeNow();
    return bytes.size();
}
