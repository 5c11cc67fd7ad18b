#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>

#include <memory>

class QWinEventNotifier;

// A COM port of Windows ("COM3", opened as \\.\COM3) as a QIODevice, for the link's serial line:
// 9600 baud, 8 data bits, no parity, 1 stop bit, no flow control. Reading is event-driven: a
// one-byte overlapped read stays pending and a QWinEventNotifier wakes the event loop when it
// completes; then the bytes the driver has queued are taken at once. Writes go out before
// write() returns. The setters and error codes carry the names of Qt Serial Port's, so that the
// link sets up either line alike; only the settings above are accepted.
class WinSerialLine : public QIODevice {
    Q_OBJECT
public:
    enum SerialPortError {
        NoError,
        DeviceNotFoundError,
        PermissionError,
        OpenError,
        WriteError,
        ReadError,
        ResourceError,
        UnknownError
    };
    enum BaudRate { Baud9600 = 9600 };
    enum DataBits { Data8 = 8 };
    enum Parity { NoParity = 0 };
    enum StopBits { OneStop = 1 };
    enum FlowControl { NoFlowControl = 0 };

    explicit WinSerialLine(QObject *parent = nullptr);
    ~WinSerialLine() override;

    void setPortName(const QString &name) { m_name = name; }
    const QString &portName() const { return m_name; }

    bool open(OpenMode mode) override;
    void close() override;
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;
    bool waitForReadyRead(int msecs) override;

    // At most this many bytes wait to be read (0: no limit); more stay in the driver until read.
    void setReadBufferSize(qint64 size) { m_maxIn = size; }

    bool setBaudRate(BaudRate rate) { return rate == Baud9600; }
    bool setDataBits(DataBits bits) { return bits == Data8; }
    bool setParity(Parity parity) { return parity == NoParity; }
    bool setStopBits(StopBits bits) { return bits == OneStop; }
    bool setFlowControl(FlowControl flow) { return flow == NoFlowControl; }

    SerialPortError error() const { return m_error; }
    // The Win32 error code of the last failure (0 when none).
    unsigned long systemError() const { return m_systemError; }
    // The system's own words for a Win32 error code.
    static QString systemErrorText(unsigned long code);
    // A COM port the system lists under HKLM\HARDWARE\DEVICEMAP\SERIALCOMM: its name ("COM3")
    // and the device behind it ("\Device\Serial0", "\Device\VCP0").
    struct SystemPort {
        QString name;
        QString device;
    };
    static QList<SystemPort> systemPorts();
    // The path CreateFileW opens for a port name: "\\.\COM12" for "COM12".
    static QString devicePath(const QString &name);

signals:
    void errorOccurred(WinSerialLine::SerialPortError error);

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    struct Win;
    bool setUpLine();
    void startRead();
    void onReadDone();
    // Takes what the driver has queued; false when the line failed.
    bool takeQueued();
    void fail(SerialPortError error, unsigned long code);

    QString m_name;
    std::unique_ptr<Win> m_win;
    QWinEventNotifier *m_notifier = nullptr;
    QByteArray m_in;
    qint64 m_maxIn = 0;
    SerialPortError m_error = NoError;
    unsigned long m_systemError = 0;
};
