#include "link/NetworkLine.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace {

// The line settings asked of the server, each as (command, value, width in bytes).
struct ComSetting {
    unsigned char command;
    quint32 value;
    int width;
    const char *name;
};
// 9600 baud, 8 data bits, parity NONE (1), 1 stop bit (1), no flow control (1).
constexpr ComSetting ComSettings[] = {
    {NetworkLine::SetBaudRate, 9600, 4, "SET-BAUDRATE"},
    {NetworkLine::SetDataSize, 8, 1, "SET-DATASIZE"},
    {NetworkLine::SetParity, 1, 1, "SET-PARITY"},
    {NetworkLine::SetStopSize, 1, 1, "SET-STOPSIZE"},
    {NetworkLine::SetControl, 1, 1, "SET-CONTROL"},
};
constexpr int ComSettingCount = int(sizeof(ComSettings) / sizeof(ComSettings[0]));

// Options we take on either side; everything else is declined.
bool supported(unsigned char option, bool ourSide) {
    if (option == NetworkLine::Binary || option == NetworkLine::SuppressGoAhead)
        return true;
    return ourSide && option == NetworkLine::ComPort;
}

} // namespace

NetworkLine::NetworkLine(QObject *parent) : QIODevice(parent) {
    connect(&m_socket, &QTcpSocket::readyRead, this, &NetworkLine::onSocketReadable);
    connect(&m_socket, &QTcpSocket::disconnected, this, &NetworkLine::onSocketGone);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError e) {
        // A wait that ran out of time is no fault of the line.
        if (m_open && e != QAbstractSocket::SocketTimeoutError)
            onSocketGone();
    });
    connect(&m_socket, &QTcpSocket::bytesWritten, this, &NetworkLine::bytesWritten);
}

NetworkLine::~NetworkLine() {
    m_closing = true;
    m_socket.abort();
}

void NetworkLine::fail(Failure failure, const QString &detail) {
    if (m_failure == Failure::None) {
        m_failure = failure;
        m_detail = detail;
    }
}

bool NetworkLine::openLine(const NetAddress &address, int timeoutMs) {
    if (isOpen())
        close();
    m_address = address;
    m_failure = Failure::None;
    m_detail.clear();
    m_in.clear();
    m_rx = Rx::Data;
    m_afterCr = false;
    m_us.fill(No);
    m_him.fill(No);
    m_settingsAnswered = 0;
    m_settingsSent = false;
    if (!address.isValid()) {
        fail(Failure::BadAddress);
        return false;
    }

    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    limit.setTimerType(Qt::PreciseTimer);
    connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    const auto up = connect(&m_socket, &QTcpSocket::connected, &loop, &QEventLoop::quit);
    const auto error = connect(&m_socket, &QTcpSocket::errorOccurred, &loop, &QEventLoop::quit);
    limit.start(timeoutMs);
    m_socket.connectToHost(address.host, address.port);
    while (m_socket.state() != QAbstractSocket::ConnectedState &&
           m_socket.state() != QAbstractSocket::UnconnectedState && limit.isActive())
        loop.exec();
    disconnect(up);
    disconnect(error);

    if (m_socket.state() != QAbstractSocket::ConnectedState) {
        switch (m_socket.error()) {
        case QAbstractSocket::ConnectionRefusedError:
            fail(Failure::Refused);
            break;
        case QAbstractSocket::HostNotFoundError:
            fail(Failure::HostNotFound);
            break;
        default:
            if (!limit.isActive())
                fail(Failure::NoAnswer);
            else
                fail(Failure::Other, m_socket.errorString());
        }
        m_closing = true;
        m_socket.abort();
        m_closing = false;
        return false;
    }
    m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    if (!QIODevice::open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        fail(Failure::Other, errorString());
        m_socket.abort();
        return false;
    }

    if (address.kind == NetAddress::Kind::Rfc2217 &&
        !negotiateComPort(timeoutMs - int(clock.elapsed()))) {
        QIODevice::close();
        m_closing = true;
        m_socket.abort();
        m_closing = false;
        m_in.clear();
        return false;
    }
    m_open = true;
    return true;
}

bool NetworkLine::negotiateComPort(int remainingMs) {
    // Binary both ways spares the CR NUL of plain Telnet; the COM-port option is what we need.
    m_us[ComPort] = WantYes;
    m_us[Binary] = WantYes;
    m_him[Binary] = WantYes;
    sendCommand(Will, ComPort);
    sendCommand(Will, Binary);
    sendCommand(Do, Binary);

    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    limit.setTimerType(Qt::PreciseTimer);
    connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    const auto woken = connect(&m_socket, &QTcpSocket::readyRead, &loop, &QEventLoop::quit);
    const auto gone = connect(&m_socket, &QTcpSocket::disconnected, &loop, &QEventLoop::quit);
    limit.start(qMax(remainingMs, 0));
    for (;;) {
        if (m_failure != Failure::None)
            break;
        if (m_us[ComPort] == Yes && !m_settingsSent)
            sendComPortSettings();
        if (m_settingsAnswered == ComSettingCount)
            break;
        if (m_socket.state() != QAbstractSocket::ConnectedState) {
            fail(Failure::Closed);
            break;
        }
        if (!limit.isActive()) {
            fail(Failure::NoAnswer);
            break;
        }
        loop.exec();
    }
    disconnect(woken);
    disconnect(gone);
    return m_failure == Failure::None;
}

void NetworkLine::sendComPortSettings() {
    m_settingsSent = true;
    QByteArray out;
    for (const ComSetting &s : ComSettings) {
        out += char(Iac);
        out += char(Sb);
        out += char(ComPort);
        out += char(s.command);
        for (int i = s.width - 1; i >= 0; --i) {
            const char byte = char((s.value >> (8 * i)) & 0xff);
            out += byte;
            if (uchar(byte) == Iac)
                out += byte;
        }
        out += char(Iac);
        out += char(Se);
    }
    m_socket.write(out);
}

void NetworkLine::sendCommand(unsigned char command, unsigned char option) {
    const char bytes[] = {char(Iac), char(command), char(option)};
    m_socket.write(bytes, 3);
}

void NetworkLine::onSocketReadable() {
    const qsizetype before = m_in.size();
    const QByteArray bytes = m_socket.readAll();
    if (m_address.kind == NetAddress::Kind::Tcp)
        m_in += bytes;
    else
        decode(bytes);
    if (m_in.size() > before && isOpen())
        emit readyRead();
}

void NetworkLine::decode(const QByteArray &bytes) {
    for (const char c : bytes) {
        const auto b = uchar(c);
        switch (m_rx) {
        case Rx::Data:
            if (b == Iac) {
                m_rx = Rx::Iac;
                break;
            }
            // Outside binary mode a lone CR comes as CR NUL; the NUL is not the controller's.
            if (m_afterCr && b == 0 && !binaryIn()) {
                m_afterCr = false;
                break;
            }
            m_afterCr = b == '\r';
            m_in += c;
            break;
        case Rx::Iac:
            m_afterCr = false;
            if (b == Iac) {
                m_in += c;
                m_rx = Rx::Data;
            } else if (b == Will || b == Wont || b == Do || b == Dont) {
                m_rxCommand = b;
                m_rx = Rx::Option;
            } else if (b == Sb) {
                m_sub.clear();
                m_rx = Rx::Sub;
            } else {
                m_rx = Rx::Data; // NOP, GA and the like carry nothing for us
            }
            break;
        case Rx::Option:
            onCommand(m_rxCommand, b);
            m_rx = Rx::Data;
            break;
        case Rx::Sub:
            if (b == Iac)
                m_rx = Rx::SubIac;
            else
                m_sub += c;
            break;
        case Rx::SubIac:
            if (b == Iac) {
                m_sub += c;
                m_rx = Rx::Sub;
            } else {
                // IAC SE, or a malformed end: the subnegotiation is over either way.
                onSubnegotiation(m_sub);
                m_rx = Rx::Data;
            }
            break;
        }
    }
}

void NetworkLine::onCommand(unsigned char command, unsigned char option) {
    // Answer only what changes an option's state, so that two sides never loop on a request.
    const bool ourSide = command == Do || command == Dont;
    const bool enable = command == Do || command == Will;
    Side &side = ourSide ? m_us[option] : m_him[option];
    const unsigned char agree = ourSide ? Will : Do;
    const unsigned char refuse = ourSide ? Wont : Dont;
    if (enable) {
        if (side == Yes)
            return;
        if (side == WantYes) {
            side = Yes;
            return;
        }
        if (supported(option, ourSide)) {
            side = Yes;
            sendCommand(agree, option);
        } else {
            sendCommand(refuse, option);
        }
        return;
    }
    if (side == No)
        return;
    const bool wanted = side == WantYes;
    side = No;
    if (!wanted)
        sendCommand(refuse, option);
    if (ourSide && option == ComPort && !m_open)
        fail(Failure::NoComPortOption);
}

void NetworkLine::onSubnegotiation(const QByteArray &sub) {
    if (sub.size() < 2 || uchar(sub.at(0)) != ComPort)
        return;
    const int command = uchar(sub.at(1)) - ServerReplyOffset;
    for (const ComSetting &s : ComSettings) {
        if (s.command != command)
            continue;
        quint32 value = 0;
        for (qsizetype i = 2; i < sub.size(); ++i)
            value = (value << 8) | uchar(sub.at(i));
        if (m_open || !m_settingsSent)
            return; // a later notice of the server's own; the line is already set up
        if (sub.size() != 2 + s.width || value != s.value)
            fail(Failure::SettingsRefused,
                 QStringLiteral("%1 %2 -> %3").arg(QLatin1String(s.name)).arg(s.value).arg(value));
        ++m_settingsAnswered;
        return;
    }
}

void NetworkLine::onSocketGone() {
    if (m_closing || !m_open)
        return;
    // What came with the closing is kept for the reader; the line itself is gone.
    m_open = false;
    emit lineLost();
}

void NetworkLine::close() {
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
        onSocketReadable();
    return m_in.size() > before;
}

bool NetworkLine::waitForBytesWritten(int msecs) {
    return m_socket.waitForBytesWritten(msecs);
}

qint64 NetworkLine::readData(char *data, qint64 maxSize) {
    const qint64 n = qMin<qint64>(maxSize, m_in.size());
    memcpy(data, m_in.constData(), size_t(n));
    m_in.remove(0, n);
    return n;
}

qint64 NetworkLine::writeData(const char *data, qint64 size) {
    if (m_socket.state() != QAbstractSocket::ConnectedState)
        return -1;
    if (m_address.kind == NetAddress::Kind::Tcp)
        return m_socket.write(data, size) == size ? size : -1;
    QByteArray out;
    out.reserve(int(size) + 8);
    for (qint64 i = 0; i < size; ++i) {
        const char c = data[i];
        out += c;
        if (uchar(c) == Iac)
            out += c;
        // Outside binary mode a CR that is no line end goes as CR NUL.
        else if (c == '\r' && !binaryOut() && (i + 1 >= size || data[i + 1] != '\n'))
            out += '\0';
    }
    return m_socket.write(out) == out.size() ? size : -1;
}
