#include "link/WinSerialLine.h"

#include <QWinEventNotifier>

#include <windows.h>

struct WinSerialLine::Win {
    HANDLE port = INVALID_HANDLE_VALUE;
    // The pending one-byte read, its event (watched by the notifier) and its byte.
    OVERLAPPED read{};
    char byte = 0;
    bool reading = false;
    // Reads of queued bytes and writes, waited for at once.
    HANDLE ioEvent = nullptr;
};

namespace {

// Waits for an overlapped transfer that did not complete at once; the bytes moved, or -1.
qint64 finish(HANDLE port, OVERLAPPED &op, BOOL started, DWORD done) {
    if (!started) {
        if (GetLastError() != ERROR_IO_PENDING || !GetOverlappedResult(port, &op, &done, TRUE))
            return -1;
    }
    return qint64(done);
}

} // namespace

WinSerialLine::WinSerialLine(QObject *parent) : Line(parent), m_win(std::make_unique<Win>()) {
    m_win->read.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_win->ioEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_notifier = new QWinEventNotifier(m_win->read.hEvent, this);
    m_notifier->setEnabled(false);
    connect(m_notifier, &QWinEventNotifier::activated, this, &WinSerialLine::onReadDone);
}

WinSerialLine::~WinSerialLine() {
    close();
    delete m_notifier;
    CloseHandle(m_win->read.hEvent);
    CloseHandle(m_win->ioEvent);
}

QString WinSerialLine::devicePath(const QString &name) {
    return QStringLiteral("\\\\.\\") + name;
}

QString WinSerialLine::systemErrorText(unsigned long code) {
    return qt_error_string(int(code)).trimmed();
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

bool WinSerialLine::open(const QString &name) {
    close();
    m_name = name;
    m_error = NoError;
    m_systemError = 0;
    const QString path = devicePath(m_name);
    const HANDLE port =
        CreateFileW(reinterpret_cast<LPCWSTR>(path.utf16()), GENERIC_READ | GENERIC_WRITE, 0,
                    nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        SerialPortError error = OpenError;
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND)
            error = DeviceNotFoundError;
        else if (code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION)
            error = PermissionError;
        fail(error, code);
        return false;
    }
    m_win->port = port;
    if (!setUpLine()) {
        const DWORD code = GetLastError();
        CloseHandle(port);
        m_win->port = INVALID_HANDLE_VALUE;
        fail(OpenError, code);
        setError(Error::SettingsRefused, errorString());
        return false;
    }
    m_in.clear();
    setState(State::Open);
    setError(Error::None);
    startRead();
    return isOpen();
}

bool WinSerialLine::setUpLine() {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(m_win->port, &dcb))
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
    if (!SetCommState(m_win->port, &dcb))
        return false;
    // No timeouts: a read waits until the bytes it asks for are there. The pending read asks for
    // one; the queued bytes are then asked for only as many as the driver holds. (Reads that
    // return at once or after an interval are not what Wine does alike.)
    COMMTIMEOUTS timeouts{};
    return SetCommTimeouts(m_win->port, &timeouts) != 0;
}

void WinSerialLine::close() {
    setState(State::Closed);
    wake();
    if (m_win->port == INVALID_HANDLE_VALUE)
        return;
    m_notifier->setEnabled(false);
    if (m_win->reading) {
        CancelIoEx(m_win->port, &m_win->read);
        DWORD done = 0;
        GetOverlappedResult(m_win->port, &m_win->read, &done, TRUE);
        m_win->reading = false;
    }
    CloseHandle(m_win->port);
    m_win->port = INVALID_HANDLE_VALUE;
    m_in.clear();
}

void WinSerialLine::startRead() {
    if (!isOpen())
        return;
    OVERLAPPED &op = m_win->read;
    ResetEvent(op.hEvent);
    op.Offset = op.OffsetHigh = 0;
    // Done at once or later alike: the event is set and the notifier reports it.
    if (!ReadFile(m_win->port, &m_win->byte, 1, nullptr, &op) &&
        GetLastError() != ERROR_IO_PENDING) {
        fail(ReadError, GetLastError());
        return;
    }
    m_win->reading = true;
    m_notifier->setEnabled(true);
}

void WinSerialLine::onReadDone() {
    if (!m_win->reading)
        return;
    DWORD done = 0;
    if (!GetOverlappedResult(m_win->port, &m_win->read, &done, FALSE)) {
        const DWORD code = GetLastError();
        if (code == ERROR_IO_INCOMPLETE)
            return;
        m_win->reading = false;
        m_notifier->setEnabled(false);
        // The adapter was pulled out or the driver gave up on the line.
        fail(ResourceError, code);
        return;
    }
    m_win->reading = false;
    m_notifier->setEnabled(false);
    const qsizetype before = m_in.size();
    if (done == 1)
        m_in.append(m_win->byte);
    if (!takeQueued())
        return;
    // A full buffer leaves the rest in the driver; reading from the buffer starts again.
    if (m_maxIn <= 0 || m_in.size() < m_maxIn)
        startRead();
    if (m_in.size() > before)
        emit readyRead();
}

bool WinSerialLine::takeQueued() {
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(m_win->port, &errors, &status)) {
        fail(ResourceError, GetLastError());
        return false;
    }
    DWORD wanted = status.cbInQue;
    if (m_maxIn > 0)
        wanted = DWORD(qBound<qint64>(0, m_maxIn - m_in.size(), wanted));
    if (wanted == 0)
        return true;
    QByteArray chunk(qsizetype(wanted), Qt::Uninitialized);
    OVERLAPPED op{};
    op.hEvent = m_win->ioEvent;
    ResetEvent(op.hEvent);
    DWORD done = 0;
    const BOOL started = ReadFile(m_win->port, chunk.data(), wanted, &done, &op);
    const qint64 got = finish(m_win->port, op, started, done);
    if (got < 0) {
        fail(ReadError, GetLastError());
        return false;
    }
    m_in.append(chunk.constData(), got);
    return true;
}

qint64 WinSerialLine::bytesAvailable() const {
    return m_in.size();
}

bool WinSerialLine::waitForReadyRead(int msecs) {
    if (!isOpen() || !m_win->reading)
        return false;
    if (WaitForSingleObject(m_win->read.hEvent, msecs < 0 ? INFINITE : DWORD(msecs)) !=
        WAIT_OBJECT_0)
        return false;
    const qsizetype before = m_in.size();
    onReadDone();
    return m_in.size() > before;
}

QByteArray WinSerialLine::read(qint64 max) {
    const QByteArray out = m_in.left(qsizetype(max));
    m_in.remove(0, out.size());
    if (!out.isEmpty() && isOpen() && !m_win->reading)
        startRead();
    return out;
}

bool WinSerialLine::drain(int msecs) {
    Q_UNUSED(msecs);
    return isOpen();
}

qint64 WinSerialLine::write(const QByteArray &bytes) {
    const char *data = bytes.constData();
    const qint64 size = bytes.size();
    if (!isOpen() || m_win->port == INVALID_HANDLE_VALUE)
        return -1;
    OVERLAPPED op{};
    op.hEvent = m_win->ioEvent;
    ResetEvent(op.hEvent);
    DWORD done = 0;
    const BOOL started = WriteFile(m_win->port, data, DWORD(size), &done, &op);
    const qint64 sent = finish(m_win->port, op, started, done);
    if (sent < 0) {
        fail(WriteError, GetLastError());
        return -1;
    }
    if (sent > 0)
        emit bytesWritten();
    return sent;
}

void WinSerialLine::fail(SerialPortError error, unsigned long code) {
    m_error = error;
    m_systemError = code;
    const QString text = systemErrorText(code);
    // A line that fails while open is gone: the adapter was pulled out or the driver gave up.
    if (isOpen() && (error == ReadError || error == WriteError || error == ResourceError))
        goneAway(text);
    else
        setError(error == DeviceNotFoundError ? Error::NotFound : Error::CannotOpen, text);
}
