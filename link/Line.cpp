#include "link/Line.h"

#include <QEventLoop>
#include <QTimer>

void Line::setError(Error error, const QString &text, unsigned long systemCode) {
    m_error = error;
    m_errorString = text;
    m_systemCode = systemCode;
}

void Line::goneAway(const QString &text) {
    if (m_state != State::Open)
        return;
    m_state = State::Lost;
    setError(Error::Lost, text);
    emit lost();
}

bool Line::waitUntil(const std::function<bool()> &done, int msecs) {
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    const auto written = connect(this, &Line::bytesWritten, &loop, &QEventLoop::quit);
    const auto gone = connect(this, &Line::lost, &loop, &QEventLoop::quit);
    limit.start(msecs);
    m_wait = &loop;
    while (!done() && isOpen() && limit.isActive())
        loop.exec();
    m_wait = nullptr;
    disconnect(written);
    disconnect(gone);
    return done();
}

void Line::wake() {
    if (m_wait)
        m_wait->quit();
}
