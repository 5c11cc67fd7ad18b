#pragma once

#include "link/Line.h"
#include "link/WinCommIo.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>

// A COM port of Windows ("COM3", opened as \\.\COM3), the link's serial line there: 9600 baud,
// 8 data bits, no parity, 1 stop bit, no flow control. Reading is event-driven: a
// one-byte overlapped read stays pending and its end wakes the event loop; then the bytes the
// driver has queued are taken at once. Writes go out before write() returns. No wait here is
// longer than its limit: a write the driver does not finish in time is cancelled and reported as
// a timeout, so a stuck adapter cannot hold the program. The Win32 calls themselves are behind
// WinCommIo.
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
        UnknownError,
        TimeoutError,
    };
    // The system's COM ports.
    explicit WinSerialLine(QObject *parent = nullptr) : WinSerialLine(WinCommIo::make(), parent) {}
    // A line driven through the given calls.
    explicit WinSerialLine(std::unique_ptr<WinCommIo> io, QObject *parent = nullptr);
    ~WinSerialLine() override;

    const QString &portName() const { return m_name; }

    // Opens the port by its name ("COM3") and sets the line up.
    bool open(const QString &name) override;
    void close() override;
    qint64 write(const QByteArray &bytes) override;
    qint64 bytesAvailable() const override;
    QByteArray read(qint64 max) override;
    bool waitForReadyRead(int msecs) override;
    // Writes have gone to the driver when write() returns; this waits for the driver to send them.
    bool drain(int msecs) override;
    QString lineErrorsText() const override;

    // At most this many bytes wait to be read (0: no limit); more stay in the driver until read.
    void setReadBufferSize(qint64 size) { m_maxIn = size; }

    SerialPortError portError() const { return m_error; }
    // The line errors (WinCommIo::LineError) the driver reported since the last write.
    unsigned lineErrors() const { return m_lineErrors; }
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

    // How long a write of size bytes may take before it counts as stuck: the bytes' time at
    // 9600 baud twice over and a margin, well inside the shortest reply timeout (1 s).
    static int writeLimitMs(qint64 size) { return 300 + int(size) * 2; }
    // How long the driver is given to end a transfer it was asked to cancel, and to hand over
    // bytes it said it holds.
    static constexpr int CancelWaitMs = 200;

private:
    using Slot = WinCommIo::Slot;
    // Starts the pending one-byte read; false (and the failure told) when it cannot.
    bool startRead();
    void onReadDone();
    // Takes what the driver has queued; false when the line failed.
    bool takeQueued();
    // The slot's transfer, waited for up to limitMs, cancelled after that (timedOut): IoIncomplete
    // when even the cancellation did not end it.
    WinCommIo::Transfer finishWithin(Slot slot, int limitMs, bool &timedOut);
    // Ends the pending read before the port closes.
    void endRead();
    // Lets the driver send what it holds, for as long as that takes at 9600 baud and a margin
    // (at most limitMs); whether it sent it all.
    bool drainDriver(int limitMs);
    void fail(SerialPortError error, unsigned long code);

    QString m_name;
    std::unique_ptr<WinCommIo> m_io;
    QByteArray m_in;
    qint64 m_maxIn = 0;
    bool m_reading = false;
    // The driver's port is open (the line may be Lost meanwhile).
    bool m_opened = false;
    // A write the driver would not end, not even cancelled: its slot is not used again.
    bool m_sendStuck = false;
    SerialPortError m_error = NoError;
    unsigned long m_systemError = 0;
    unsigned m_lineErrors = 0;
};
