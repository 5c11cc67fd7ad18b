#include "cli/StopSignal.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The pipe's ends; the handler may touch nothing else.
int pipeEnds[2] = {-1, -1};

extern "C" void onStopSignal(int number) {
    const int saved = errno;
    const char byte = char(number);
    // A full pipe already holds a stop; losing this byte loses nothing.
    (void)::write(pipeEnds[1], &byte, 1);
    errno = saved;
}

} // namespace

struct StopSignal::Handlers {
    QSocketNotifier *notifier = nullptr;
    struct sigaction oldInt = {};
    struct sigaction oldTerm = {};
};

StopSignal::StopSignal(QObject *parent) : QObject(parent) {
    if (pipeEnds[0] >= 0 || ::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    // SA_RESTART: the serial port's reads and writes go on; SA_RESETHAND: a second signal ends
    // the program as usual.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    m_handlers = std::make_unique<Handlers>();
    ::sigaction(SIGINT, &action, &m_handlers->oldInt);
    ::sigaction(SIGTERM, &action, &m_handlers->oldTerm);
    m_handlers->notifier = new QSocketNotifier(qintptr(pipeEnds[0]), QSocketNotifier::Read, this);
    connect(m_handlers->notifier, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        const ssize_t n = ::read(pipeEnds[0], bytes, sizeof bytes);
        for (ssize_t i = 0; i < n; ++i)
            emit received(int(bytes[i]));
    });
}

StopSignal::~StopSignal() {
    if (!m_handlers)
        return;
    ::sigaction(SIGINT, &m_handlers->oldInt, nullptr);
    ::sigaction(SIGTERM, &m_handlers->oldTerm, nullptr);
    delete m_handlers->notifier;
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}
