#include "link/WinSerialLine.h"

#include "base/ResText.h"

#include <QElapsedTimer>
#include <QStringList>
#include <QThread>

#include <climits>

using Io = WinCommIo;

WinSerialLine::WinSerialLine(std::unique_ptr<WinCommIo> io, QObject *parent)
    : Line(parent), m_io(std::move(io)) {
    if (m_io)
        connect(m_io.get(), &WinCommIo::watchEnded, this, &WinSerialLine::onReadDone);
}

WinSerialLine::~WinSerialLine() {
    close();
}

QString WinSerialLine::devicePath(const QString &name) {
    return QStringLiteral("\\\\.\\") + name;
}

QString WinSerialLine::systemErrorText(unsigned long code) {
    return qt_error_string(int(code)).trimmed();
}

bool WinSerialLine::open(const QString &name) {
    close();
    m_name = name;
    m_error = NoError;
    m_systemError = 0;
    m_sendStuck = false;
    m_reading = false;
    m_in.clear();
    const unsigned long code = m_io ? m_io->open(devicePath(m_name)) : Io::FileNotFound;
    if (code != Io::Success) {
        SerialPortError error = OpenError;
        if (code == Io::FileNotFound || code == Io::PathNotFound)
            error = DeviceNotFoundError;
        else if (code == Io::AccessDenied || code == Io::SharingViolation)
            error = PermissionError;
        fail(error, code);
        return false;
    }
    // A port whose first read fails is no open port.
    const unsigned long readCode = m_io->startRead(Slot::Watch, 1);
    if (readCode != Io::Success && readCode != Io::IoPending) {
        m_io->close();
        fail(OpenError, readCode);
        return false;
    }
    m_reading = true;
    m_opened = true;
    setError(Error::None);
    setState(State::Open);
    return true;
}

void WinSerialLine::close() {
    setState(State::Closed);
    wake();
    if (!m_opened)
        return;
    m_opened = false;
    if (!m_sendStuck)
        drainDriver(INT_MAX);
    endRead();
    m_io->close();
    m_in.clear();
}

bool WinSerialLine::drain(int msecs) {
    return isOpen() && !m_sendStuck && drainDriver(msecs);
}

bool WinSerialLine::drainDriver(int limitMs) {
    QElapsedTimer clock;
    clock.start();
    Io::Status status = m_io->status();
    const int limit = qMin(limitMs, writeLimitMs(status.outQueue));
    while (status.error == Io::Success && status.outQueue > 0 && clock.elapsed() < limit) {
        QThread::msleep(2);
        status = m_io->status();
    }
    return status.error == Io::Success && status.outQueue == 0;
}

void WinSerialLine::endRead() {
    if (!m_reading)
        return;
    m_reading = false;
    m_io->cancel(Slot::Watch);
    // Ended by now, or left to the calls' close, which keeps its buffer alive.
    m_io->finish(Slot::Watch, CancelWaitMs);
}

WinCommIo::Transfer WinSerialLine::finishWithin(Slot slot, int limitMs, bool &timedOut) {
    timedOut = false;
    const Io::Transfer done = m_io->finish(slot, limitMs);
    if (done.error != Io::IoIncomplete)
        return done;
    timedOut = true;
    m_io->cancel(slot);
    // What was moved before the cancellation ended it is kept.
    return m_io->finish(slot, CancelWaitMs);
}

bool WinSerialLine::startRead() {
    const unsigned long code = m_io->startRead(Slot::Watch, 1);
    if (code != Io::Success && code != Io::IoPending) {
        fail(ResourceError, code);
        return false;
    }
    // Ended at once or later alike: watchEnded() tells.
    m_reading = true;
    return true;
}

void WinSerialLine::onReadDone() {
    if (!m_reading)
        return;
    const Io::Transfer done = m_io->finish(Slot::Watch, 0);
    if (done.error == Io::IoIncomplete)
        return;
    m_reading = false;
    if (done.error != Io::Success) {
        // The adapter was pulled out or the driver gave up on the line.
        fail(ResourceError, done.error);
        return;
    }
    const qsizetype before = m_in.size();
    m_in += done.data.left(qsizetype(done.done));
    if (!takeQueued())
        return;
    // A full buffer leaves the rest in the driver; reading from the buffer starts again.
    if ((m_maxIn <= 0 || m_in.size() < m_maxIn) && !startRead())
        return;
    if (m_in.size() > before)
        emit readyRead();
}

bool WinSerialLine::takeQueued() {
    const Io::Status status = m_io->status();
    if (status.error != Io::Success) {
        fail(ResourceError, status.error);
        return false;
    }
    m_lineErrors |= status.lineErrors;
    qint64 wanted = status.inQueue;
    if (m_maxIn > 0)
        wanted = qBound<qint64>(0, m_maxIn - m_in.size(), wanted);
    if (wanted == 0)
        return true;
    unsigned long code = m_io->startRead(Slot::Fetch, quint32(wanted));
    if (code == Io::Success || code == Io::IoPending) {
        // The bytes are in the driver already: a read of them that does not end is a broken line.
        bool timedOut = false;
        const Io::Transfer done = finishWithin(Slot::Fetch, CancelWaitMs, timedOut);
        m_in += done.data.left(qsizetype(done.done));
        code = timedOut && done.error != Io::IoIncomplete ? Io::OperationAborted : done.error;
    }
    if (code != Io::Success) {
        fail(ResourceError, code);
        return false;
    }
    return true;
}

qint64 WinSerialLine::bytesAvailable() const {
    return m_in.size();
}

QString WinSerialLine::lineErrorsText() const {
    QStringList seen;
    if (m_lineErrors & Io::FramingError)
        seen << ResText(1624);
    if (m_lineErrors & (Io::Overrun | Io::InputOverflow))
        seen << ResText(1625);
    if (m_lineErrors & Io::ParityError)
        seen << ResText(1626);
    if (m_lineErrors & Io::BreakSeen)
        seen << ResText(1627);
    return seen.isEmpty() ? QString() : ResText(1623).arg(seen.join(QStringLiteral(", ")));
}

bool WinSerialLine::waitForReadyRead(int msecs) {
    if (!isOpen() || !m_reading)
        return false;
    if (m_io->finish(Slot::Watch, qMax(msecs, 0)).error == Io::IoIncomplete)
        return false;
    const qsizetype before = m_in.size();
    onReadDone();
    return m_in.size() > before;
}

QByteArray WinSerialLine::read(qint64 max) {
    const QByteArray out = m_in.left(qsizetype(max));
    m_in.remove(0, out.size());
    if (!out.isEmpty() && isOpen() && !m_reading)
        startRead();
    return out;
}

qint64 WinSerialLine::write(const QByteArray &bytes) {
    const qint64 size = bytes.size();
    if (!isOpen() || m_sendStuck)
        return -1;
    // What the driver tells of the line from now on belongs to this command's reply.
    m_lineErrors = 0;
    const unsigned long code = m_io->startWrite(bytes);
    if (code != Io::Success && code != Io::IoPending) {
        fail(WriteError, code);
        return -1;
    }
    bool timedOut = false;
    const Io::Transfer done = finishWithin(Slot::Send, writeLimitMs(size), timedOut);
    if (done.error == Io::IoIncomplete)
        m_sendStuck = true;
    // Cancelled after its time, or cut short by the driver's own write timeout: the port does
    // not take what is sent.
    if (timedOut || (done.error == Io::Success && qint64(done.done) < size)) {
        m_error = TimeoutError;
        m_systemError = 0;
        setError(Error::WriteTimedOut, ResText(1620));
        return -1;
    }
    if (done.error != Io::Success) {
        fail(WriteError, done.error);
        return -1;
    }
    if (done.done > 0)
        emit bytesWritten();
    return done.done;
}

void WinSerialLine::fail(SerialPortError error, unsigned long code) {
    m_error = error;
    m_systemError = code;
    const QString text = systemErrorText(code);
    // A line that fails while open is gone: the adapter was pulled out or the driver gave up.
    if (isOpen() && (error == ReadError || error == WriteError || error == ResourceError)) {
        goneAway(text);
        return;
    }
    if (error == DeviceNotFoundError)
        setError(Error::NotFound, text, code);
    else
        setError(error == TimeoutError ? Error::WriteTimedOut : Error::CannotOpen, text, code);
}
