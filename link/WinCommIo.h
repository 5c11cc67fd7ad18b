#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

// The Win32 calls a COM port is driven through, as WinSerialLine uses them: opening and closing
// (the port's own settings kept and given back), overlapped reads and writes in three slots, each
// with its own OVERLAPPED, event and buffer, a wait for one with a time limit, cancelling one, and
// the driver's queues and line errors. The system's calls are in WinCommIoWin.cpp; tests put a
// driver of their own in its place, one that never completes a write or fails a read as an
// unplugged adapter does.
class WinCommIo : public QObject {
    Q_OBJECT
public:
    // Win32 error codes the line tells apart (winerror.h).
    enum Code : unsigned long {
        Success = 0,
        FileNotFound = 2,
        PathNotFound = 3,
        AccessDenied = 5,
        BadCommand = 22,
        SharingViolation = 32,
        OperationAborted = 995,
        IoIncomplete = 996,
        IoPending = 997,
    };
    // Line errors as ClearCommError reports them (CE_RXOVER ... CE_BREAK).
    enum LineError : unsigned {
        InputOverflow = 0x1,
        Overrun = 0x2,
        ParityError = 0x4,
        FramingError = 0x8,
        BreakSeen = 0x10,
    };
    // The three transfers that may be under way at once.
    enum Slot {
        Watch, // the pending one-byte read that tells when input comes
        Fetch, // a read of what the driver holds
        Send,  // a write
    };
    struct Status {
        unsigned long error = Success; // the call's own failure
        unsigned lineErrors = 0;       // LineError flags since the last call
        quint32 inQueue = 0;           // bytes waiting to be read
        quint32 outQueue = 0;          // bytes not yet sent
    };
    struct Transfer {
        unsigned long error = Success; // IoIncomplete while it is still under way
        QByteArray data;               // what a read brought
        quint32 done = 0;              // bytes moved
    };

    // The system's calls (WinCommIoWin.cpp; none elsewhere, WinCommIoNone.cpp).
    static std::unique_ptr<WinCommIo> make();

    // Opens the port exclusively for overlapped I/O, keeps its settings and timeouts as found,
    // sets 9600 baud 8N1 without flow control and empties the driver's queues; the Win32 error,
    // or Success.
    virtual unsigned long open(const QString &devicePath) = 0;
    // Gives the settings found at open back and closes the port. A slot whose transfer never
    // ended keeps its buffer and OVERLAPPED alive from then on: the driver may still write there.
    virtual void close() = 0;
    // Starts a read of up to size bytes (Watch: one) into the slot's buffer: Success when done at
    // once, IoPending, or the error.
    virtual unsigned long startRead(Slot slot, quint32 size) = 0;
    // Starts a write of the bytes (copied into Send's buffer): Success, IoPending, or the error.
    virtual unsigned long startWrite(const QByteArray &bytes) = 0;
    // The slot's transfer, waited for up to waitMs (0: only looked at).
    virtual Transfer finish(Slot slot, int waitMs) = 0;
    // Asks the driver to end the slot's transfer (CancelIoEx); finish() tells when it has.
    virtual void cancel(Slot slot) = 0;
    // What ClearCommError says.
    virtual Status status() = 0;

signals:
    // The Watch slot's read has ended (with a byte or an error).
    void watchEnded();
};
