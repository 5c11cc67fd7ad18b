#pragma once

#include "link/WinCommIo.h"

#include <QMetaObject>

#include <array>
#include <functional>
#include <utility>

// A COM port driver played by a test, behind the calls WinSerialLine uses: what is written goes
// to wire, what the test delivers comes in; a write may never end (and ignore its cancellation),
// be cut short, or fail; the pending read may fail as an unplugged adapter's does. Time is the
// driver's own: waitedMs adds up what the line waited for transfers that did not end, so a test
// can tell a bounded wait from an endless one without a clock.
class FakeCommIo : public WinCommIo {
public:
    enum class WriteEnd { Completes, NeverEnds, IgnoresCancel, EndsShort };
    WriteEnd writeEnd = WriteEnd::Completes;
    unsigned long writeError = Success;     // startWrite's failure
    unsigned long openError = Success;      // open's failure
    unsigned long firstReadError = Success; // the pending read's failure to start
    // What a controller answers to what was written (nothing when empty).
    std::function<QByteArray(const QByteArray &written)> answer;

    QByteArray wire;
    int opens = 0;
    int closes = 0;
    bool isOpen = false;
    qint64 waitedMs = 0;
    quint32 outQueue = 0;    // bytes the driver still sends; one status() call sends one
    unsigned lineErrors = 0; // told by the next status() call, then cleared

    // Bytes from the controller: the pending read takes the first, the rest wait in the driver.
    void deliver(const QByteArray &bytes) {
        m_queue += bytes;
        endWatch(Success);
    }
    // The pending read ends with a Win32 error.
    void failWatch(unsigned long code) { endWatch(code); }

    unsigned long open(const QString &) override {
        ++opens;
        if (openError != Success)
            return openError;
        isOpen = true;
        return Success;
    }
    void close() override {
        ++closes;
        isOpen = false;
        for (State &slot : m_slots)
            slot = {};
    }
    unsigned long startRead(Slot slot, quint32 size) override {
        if (slot == Watch && firstReadError != Success)
            return firstReadError;
        m_slots[slot] = {true, false, Success, {}};
        if (slot == Fetch) {
            m_slots[slot] = {true, true, Success, m_queue.left(size)};
            m_queue.remove(0, qMin<qsizetype>(size, m_queue.size()));
        } else {
            endWatch(Success);
        }
        return IoPending;
    }
    unsigned long startWrite(const QByteArray &bytes) override {
        if (writeError != Success)
            return writeError;
        State &send = m_slots[Send];
        send = {true, false, Success, {}};
        if (writeEnd == WriteEnd::NeverEnds || writeEnd == WriteEnd::IgnoresCancel)
            return IoPending;
        const qsizetype taken = writeEnd == WriteEnd::EndsShort ? bytes.size() / 2 : bytes.size();
        wire += bytes.left(taken);
        send.ended = true;
        send.data = bytes.left(taken);
        if (answer) {
            const QByteArray reply = answer(bytes);
            if (!reply.isEmpty())
                QMetaObject::invokeMethod(
                    this, [this, reply] { deliver(reply); }, Qt::QueuedConnection);
        }
        return IoPending;
    }
    Transfer finish(Slot slot, int waitMs) override {
        const State &s = m_slots[slot];
        if (!s.ended) {
            waitedMs += waitMs;
            return {IoIncomplete, {}, 0};
        }
        return {s.error, s.data, quint32(s.data.size())};
    }
    void cancel(Slot slot) override {
        State &s = m_slots[slot];
        if (!s.pending || s.ended || (slot == Send && writeEnd == WriteEnd::IgnoresCancel))
            return;
        s = {true, true, OperationAborted, {}};
    }
    Status status() override {
        Status status;
        status.inQueue = quint32(m_queue.size());
        status.outQueue = outQueue;
        status.lineErrors = std::exchange(lineErrors, 0u);
        if (outQueue > 0)
            --outQueue;
        return status;
    }

private:
    struct State {
        bool pending = false;
        bool ended = false;
        unsigned long error = Success;
        QByteArray data;
    };
    // Ends the pending read when there is a byte for it or an error; the line hears of it from
    // the event loop, as from the system's event.
    void endWatch(unsigned long code) {
        State &watch = m_slots[Watch];
        if (!watch.pending || watch.ended || (code == Success && m_queue.isEmpty()))
            return;
        watch.ended = true;
        watch.error = code;
        if (code == Success) {
            watch.data = m_queue.left(1);
            m_queue.remove(0, 1);
        }
        QMetaObject::invokeMethod(this, &WinCommIo::watchEnded, Qt::QueuedConnection);
    }

    std::array<State, 3> m_slots{};
    QByteArray m_queue;
};
