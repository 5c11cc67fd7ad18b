// The Win32 communications calls behind WinCommIo, and the system's list of COM ports.
#include "link/WinCommIo.h"
#include "link/WinSerialLine.h"

#include <QWinEventNotifier>

#include <windows.h>

#include <array>

namespace {

// One overlapped transfer: its OVERLAPPED, event and buffer, which must stay where they are
// until the driver has ended the transfer.
struct Pending {
    OVERLAPPED op{};
    QByteArray buffer;
    bool pending = false;

    Pending() { op.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr); }
    ~Pending() { CloseHandle(op.hEvent); }
    Pending(const Pending &) = delete;
    Pending &operator=(const Pending &) = delete;
};

class SystemCommIo : public WinCommIo {
public:
    SystemCommIo() {
        for (auto &slot : m_slots)
            slot = new Pending;
        m_notifier = new QWinEventNotifier(m_slots[Watch]->op.hEvent, this);
        m_notifier->setEnabled(false);
        connect(m_notifier, &QWinEventNotifier::activated, this, [this] {
            m_notifier->setEnabled(false);
            emit watchEnded();
        });
    }
    ~SystemCommIo() override {
        close();
        delete m_notifier;
        for (Pending *slot : m_slots)
            delete slot;
    }

    unsigned long open(const QString &devicePath) override {
        if (m_port != INVALID_HANDLE_VALUE)
            close();
        for (Pending *slot : m_slots) {
            if (!slot->op.hEvent)
                return GetLastError() ? GetLastError() : ERROR_INVALID_HANDLE;
        }
        const HANDLE port =
            CreateFileW(reinterpret_cast<LPCWSTR>(devicePath.utf16()), GENERIC_READ | GENERIC_WRITE,
                        0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
        if (port == INVALID_HANDLE_VALUE)
            return GetLastError();
        m_saved.DCBlength = sizeof m_saved;
        if (!GetCommState(port, &m_saved) || !GetCommTimeouts(port, &m_savedTimeouts) ||
            !setUp(port)) {
            const DWORD code = GetLastError();
            CloseHandle(port);
            return code ? code : DWORD(ERROR_GEN_FAILURE);
        }
        m_port = port;
        return Success;
    }

    void close() override {
        if (m_port == INVALID_HANDLE_VALUE)
            return;
        m_notifier->setEnabled(false);
        for (auto &slot : m_slots) {
            if (!slot->pending)
                continue;
            CancelIoEx(m_port, &slot->op);
            if (WaitForSingleObject(slot->op.hEvent, WinSerialLine::CancelWaitMs) !=
                WAIT_OBJECT_0) {
                // The driver may still write into this transfer: it is never freed or reused.
                slot = new Pending;
                if (&slot == &m_slots[Watch])
                    m_notifier->setHandle(slot->op.hEvent);
            }
            slot->pending = false;
        }
        SetCommState(m_port, &m_saved);
        SetCommTimeouts(m_port, &m_savedTimeouts);
        CloseHandle(m_port);
        m_port = INVALID_HANDLE_VALUE;
    }

    unsigned long startRead(Slot which, quint32 size) override {
        Pending &slot = *m_slots[which];
        slot.buffer.resize(qsizetype(size));
        ResetEvent(slot.op.hEvent);
        return start(which, ReadFile(m_port, slot.buffer.data(), size, nullptr, &slot.op));
    }

    unsigned long startWrite(const QByteArray &bytes) override {
        Pending &slot = *m_slots[Send];
        slot.buffer = bytes;
        slot.buffer.detach();
        ResetEvent(slot.op.hEvent);
        return start(Send, WriteFile(m_port, slot.buffer.constData(), DWORD(slot.buffer.size()),
                                     nullptr, &slot.op));
    }

    WinCommIo::Transfer finish(Slot which, int waitMs) override {
        Pending &slot = *m_slots[which];
        WinCommIo::Transfer result;
        if (WaitForSingleObject(slot.op.hEvent, DWORD(qMax(waitMs, 0))) != WAIT_OBJECT_0) {
            result.error = IoIncomplete;
            return result;
        }
        DWORD done = 0;
        if (!GetOverlappedResult(m_port, &slot.op, &done, FALSE))
            result.error = GetLastError();
        if (result.error == IoIncomplete)
            return result;
        slot.pending = false;
        result.done = done;
        if (which != Send)
            result.data = slot.buffer.left(qsizetype(done));
        return result;
    }

    void cancel(Slot which) override {
        if (m_slots[which]->pending)
            CancelIoEx(m_port, &m_slots[which]->op);
    }

    Status status() override {
        Status status;
        DWORD errors = 0;
        COMSTAT queues{};
        if (!ClearCommError(m_port, &errors, &queues)) {
            status.error = GetLastError();
            return status;
        }
        status.lineErrors = unsigned(errors);
        status.inQueue = queues.cbInQue;
        status.outQueue = queues.cbOutQue;
        return status;
    }

private:
    unsigned long start(Slot which, BOOL started) {
        Pending &slot = *m_slots[which];
        const DWORD code = started ? DWORD(ERROR_SUCCESS) : GetLastError();
        if (code != ERROR_SUCCESS && code != ERROR_IO_PENDING)
            return code;
        slot.pending = true;
        // Ended at once or later alike, the event is set when it ends.
        if (which == Watch)
            m_notifier->setEnabled(true);
        return code;
    }

    static bool setUp(HANDLE port) {
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (!GetCommState(port, &dcb))
            return false;
        dcb.BaudRate = CBR_9600;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        dcb.fBinary = TRUE;
        dcb.fParity = FALSE;
        dcb.fOutxCtsFlow = FALSE;
        dcb.fOutxDsrFlow = FALSE;
        dcb.fDsrSensitivity = FALSE;
        dcb.fDtrControl = DTR_CONTROL_ENABLE;
        dcb.fRtsControl = RTS_CONTROL_ENABLE;
        dcb.fOutX = FALSE;
        dcb.fInX = FALSE;
        dcb.fErrorChar = FALSE;
        dcb.fNull = FALSE;
        dcb.fAbortOnError = FALSE;
        if (!SetCommState(port, &dcb))
            return false;
        // Reads wait until the bytes they ask for are there (the pending read asks for one, the
        // read of queued bytes only for what the driver holds), so no read returns empty; the
        // line bounds how long it waits for either. A write the driver cannot pass on ends by the
        // driver's own timeout as well: the bytes' time twice over and a margin.
        COMMTIMEOUTS timeouts{};
        timeouts.WriteTotalTimeoutMultiplier = 2;
        timeouts.WriteTotalTimeoutConstant = 250;
        if (!SetCommTimeouts(port, &timeouts))
            return false;
        // What an earlier user of the port left in the driver is no reply to us.
        PurgeComm(port, PURGE_RXCLEAR | PURGE_TXCLEAR);
        return true;
    }

    HANDLE m_port = INVALID_HANDLE_VALUE;
    DCB m_saved{};
    COMMTIMEOUTS m_savedTimeouts{};
    std::array<Pending *, 3> m_slots{};
    QWinEventNotifier *m_notifier = nullptr;
};

} // namespace

std::unique_ptr<WinCommIo> WinCommIo::make() {
    return std::make_unique<SystemCommIo>();
}

QList<WinSerialLine::SystemPort> WinSerialLine::systemPorts() {
    QList<SystemPort> ports;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return ports;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        wchar_t data[256];
        DWORD nameSize = 256;
        DWORD dataSize = sizeof data;
        DWORD type = 0;
        const LONG status = RegEnumValueW(key, i, name, &nameSize, nullptr, &type,
                                          reinterpret_cast<BYTE *>(data), &dataSize);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status != ERROR_SUCCESS || type != REG_SZ)
            continue;
        // The value's text may or may not end in a zero character.
        const QString port =
            QString::fromWCharArray(data, int(dataSize / sizeof(wchar_t))).section(QChar(0), 0, 0);
        ports.append({port, QString::fromWCharArray(name, int(nameSize))});
    }
    RegCloseKey(key);
    return ports;
}
