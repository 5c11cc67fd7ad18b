// The simulator's end of the line on a POSIX system: the master side of a pseudo terminal; the
// program opens the slave side (devicePath()) like any serial port.
#include "sim/ControllerSimulator.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

struct ControllerSimulator::End {
    int master = -1;
    int slaveHold = -1;
    QSocketNotifier *notifier = nullptr;
};

bool ControllerSimulator::openEnd() {
    m_end = new End;
    int &master = m_end->master;
    int &slaveHold = m_end->slaveHold;
    // Close-on-exec: a program started meanwhile (the one under test) must not hold our end, or
    // closing it would not hang the line up.
    master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        m_error = QString::fromLocal8Bit(::strerror(errno));
        return false;
    }
    const char *name = ::ptsname(master);
    if (!name) {
        m_error = QString::fromLocal8Bit(::strerror(errno));
        return false;
    }
    m_path = QString::fromLocal8Bit(name);
    // Holding the slave end open keeps the pty alive while the program has its port closed,
    // and is where the line discipline is made raw.
    slaveHold = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    if (slaveHold < 0 || ::tcgetattr(slaveHold, &tio) != 0) {
        m_error = QString::fromLocal8Bit(::strerror(errno));
        return false;
    }
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    ::tcsetattr(slaveHold, TCSANOW, &tio);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    m_end->notifier = new QSocketNotifier(qintptr(master), QSocketNotifier::Read, this);
    connect(m_end->notifier, &QSocketNotifier::activated, this, [this] {
        char chunk[256];
        const ssize_t n = ::read(m_end->master, chunk, sizeof chunk);
        if (n > 0)
            takeInput(chunk, n);
        else if (n == 0 || (errno != EAGAIN && errno != EINTR))
            dropLine();
    });
    return true;
}

void ControllerSimulator::closeEnd() {
    if (!m_end)
        return;
    delete m_end->notifier;
    m_end->notifier = nullptr;
    if (m_end->master >= 0)
        ::close(m_end->master);
    if (m_end->slaveHold >= 0)
        ::close(m_end->slaveHold);
    delete m_end;
    m_end = nullptr;
}

void ControllerSimulator::writeOut(const QByteArray &bytes) {
    (void)::write(m_end->master, bytes.constData(), size_t(bytes.size()));
}
