#pragma once

#include "link/Line.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>

class QWinEventNotifier;

// A COM port of Windows ("COM3", opened as \\.\COM3), the link's serial line there: 9600 baud,
// 8 data bits, no parity, 1 stop bit, no flow control. Reading is event-driven: a one-byte
// overlapped read stays pending and a QWinEventNotifier wakes the event loop when it completes;
// then the bytes the driver has queued are taken at once. Writes go out before write() returns.
class WinSerialLine : public Line {
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
    explicit WinSerialLine(QObject *parent = nullptr);
    ~WinSerialLine() override;

    const QString &portName() const { return m_name; }

    // Opens the port by its name ("COM3") and sets the line up.
    bool open(const QString &name) override;
    void close() override;
    qint64 write(const QByteArray &bytes) override;
    qint64 bytesAvailable() const override;
    QByteArray read(qint64 max) override;
    bool waitForReadyRead(int msecs) override;
    // Writes have gone to the driver when write() returns; nothing more is waited for.
    bool drain(int msecs) override;

    // At most this many bytes wait to be read (0: no limit); more stay in the driver until read.
    void setReadBufferSize(qint64 size) { m_maxIn = size; }

    SerialPortError portError() const { return m_error; }
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
