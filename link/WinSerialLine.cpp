#include "link/WinSerialLine.h"

#include "base/ResText.h"

#include <QElapsedTimer>
#include <QThread>

#include <cstring>

using Io = WinCommIo;

WinSerialLine::WinSerialLine(std::unique_ptr<WinCommIo> io, QObject *parent)
    : QIODevice(parent), m_io(std::move(io)) {
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

bool WinSerialLine::open(OpenMode mode) {
    if (isOpen())
        return false;
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
    QIODevice::open(mode | QIODevice::Unbuffered);
    return true;
}

void WinSerialLine::close() {
    if (!isOpen())
        return;
    QIODevice::close();
    if (!m_sendStuck)
        drain();
    endRead();
    m_io->close();
    m_in.clear();
}

void WinSerialLine::drain() {
    QElapsedTimer clock;
    clock.start();
    Io::Status status = m_io->status();
    const int limit = writeLimitMs(status.outQueue);
    while (status.error == Io::Success && status.outQueue > 0 && clock.elapsed() < limit) {
        QThread::msleep(2);
        status = m_io->status();
    }
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
    return m_in.size() + QIODevice::bytesAvailable();
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

qint64 WinSerialLine::readData(char *data, qint64 maxSize) {
    const qint64 n = qMin<qint64>(maxSize, m_in.size());
    std::memcpy(data, m_in.constData(), size_t(n));
    m_in.remove(0, qsizetype(n));
    if (n > 0 && isOpen() && !m_reading)
        startRead();
    return n;
}

qint64 WinSerialLine::writeData(const char *data, qint64 size) {
    if (!isOpen() || m_sendStuck)
        return -1;
    // What the driver tells of the line from now on belongs to this command's reply.
    m_lineErrors = 0;
    const unsigned long code = m_io->startWrite(QByteArray(data, qsizetype(size)));
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
        setErrorString(ResText(1620));
        emit errorOccurred(TimeoutError);
        return -1;
    }
    if (done.error != Io::Success) {
        fail(WriteError, done.error);
        return -1;
    }
    if (done.done > 0)
        emit bytesWritten(done.done);
    return done.done;
}

void WinSerialLine::fail(SerialPortError error, unsigned long code) {
    m_error = error;
    m_systemError = code;
    setErrorString(systemErrorText(code));
    emit errorOccurred(error);
}
