// The serial line on Qt Serial Port: a serial device, a USB adapter or a pty.
#include "link/SerialLine.h"

#include "link/PortIdentity.h"

#include <QSerialPort>

#include <termios.h>

namespace {

class PosixSerialLine : public Line {
public:
    explicit PosixSerialLine(QObject *parent) : Line(parent) {
        m_port.setReadBufferSize(MaxHeld);
        connect(&m_port, &QSerialPort::readyRead, this, &Line::readyRead);
        connect(&m_port, &QSerialPort::bytesWritten, this, &Line::bytesWritten);
        connect(&m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
            // A hung-up line shows as a failing read, a pulled adapter as a lost resource.
            if (e == QSerialPort::ResourceError || e == QSerialPort::ReadError ||
                e == QSerialPort::WriteError)
                goneAway(m_port.errorString());
        });
    }
    ~PosixSerialLine() override { m_port.close(); }

    bool open(const QString &path) override {
        close();
        // Opened under its canonical path, so that the lock files other serial programs look for
        // carry the device's own name whatever link was used.
        m_port.setPortName(PortIdentity::openName(path));
        if (!m_port.open(QIODevice::ReadWrite)) {
            setError(m_port.error() == QSerialPort::DeviceNotFoundError ? Error::NotFound
                                                                        : Error::CannotOpen,
                     m_port.errorString());
            return false;
        }
        // Another spelling of a device that someone holds: in use, like the same spelling (no
        // reason of the system's: the port check names the holder).
        if (!PortIdentity::hold(m_port.handle())) {
            m_port.close();
            setError(Error::CannotOpen);
            return false;
        }
        if (!m_port.setBaudRate(QSerialPort::Baud9600) ||
            !m_port.setParity(QSerialPort::NoParity) || !m_port.setDataBits(QSerialPort::Data8) ||
            !m_port.setStopBits(QSerialPort::OneStop) ||
            !m_port.setFlowControl(QSerialPort::NoFlowControl)) {
            // A line left open with settings it refused would talk at an unknown speed.
            const QString why = m_port.errorString();
            m_port.close();
            setError(Error::SettingsRefused, why);
            return false;
        }
        setError(Error::None);
        setState(State::Open);
        return true;
    }

    void close() override {
        setState(State::Closed);
        if (m_port.isOpen())
            m_port.close();
        wake();
    }

    qint64 write(const QByteArray &bytes) override { return isOpen() ? m_port.write(bytes) : -1; }
    qint64 bytesAvailable() const override { return m_port.bytesAvailable(); }
    QByteArray read(qint64 max) override { return m_port.read(max); }
    bool waitForReadyRead(int msecs) override { return isOpen() && m_port.waitForReadyRead(msecs); }

    bool drain(int msecs) override {
        if (!waitUntil([this] { return m_port.bytesToWrite() == 0; }, msecs) || !isOpen())
            return false;
        // Let the driver send what it holds before anyone closes the port.
        ::tcdrain(int(m_port.handle()));
        return true;
    }

private:
    QSerialPort m_port;
};

} // namespace

std::unique_ptr<Line> newSerialLine(QObject *parent) {
    return std::make_unique<PosixSerialLine>(parent);
}
