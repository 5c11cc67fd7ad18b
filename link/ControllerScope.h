#pragma once

#include "base/OpResult.h"

#include <QString>

class ControllerExchange;

// The controller held for one operation: the port opened (and, as asked, checked) by
// ControllerLink::controller(), released as ReleasePort releases it when the scope ends, on every
// way out. A refused scope holds nothing: it carries why (busy, no port, the failed check) and
// releases nothing, so a port another exchange waits on is left alone.
//
// Each call is one exchange. A failed one shows nothing: its result carries the whole cause (the
// kind, the message the user is to see, the port, the reason, the alarm's code and text), and the
// operation presents it. A timeout has closed the port and a malformed reply released it; after
// an error reply the port is given back by settle(), once the user has seen the message.
class ControllerScope {
public:
    ControllerScope(ControllerScope &&other) noexcept;
    ControllerScope &operator=(ControllerScope &&) = delete;
    ControllerScope(const ControllerScope &) = delete;
    ControllerScope &operator=(const ControllerScope &) = delete;
    ~ControllerScope();

    // The controller for one operation.
    explicit ControllerScope(ControllerExchange &link) : m_link(&link), m_held(true) {}
    // A refusal: nothing is held, and nothing is released at its end, unless the refusal is an
    // error reply to the check, whose port is given back by settle().
    explicit ControllerScope(const OpResult &refusal, ControllerExchange *owedBy = nullptr);

    // Whether the controller was handed over; otherwise refusal() says why.
    bool isHeld() const { return m_held; }
    const OpResult &refusal() const { return m_refusal; }

    // "0CM1"; with PortOnly the operation makes it where its order puts it.
    OpResult checkCommunication();
    // One data block by its number ("02"): the reply line, CR LF included.
    Valued<QString> readBlock(const QString &block);
    // One encoded block; done when the controller echoed it.
    OpResult writeBlock(const QString &block);
    // To position target (1 or 2), or home with 0; done when the feeder got there.
    OpResult move(int target);
    OpResult reset();
    // The controller's version: the three characters after the echoed command.
    Valued<QString> version();
    // Back to external start mode; a good reply that is not the echo is Unconfirmed, with the
    // reply as its text.
    OpResult externalStart();
    // The I/O block: the reply line, CR LF included.
    Valued<QString> readIo();
    // The outputs as data gives them.
    OpResult setOutputs(const QString &data);
    // The restart that takes new blocks into effect; done once its line has left the port.
    OpResult restart();

    // Gives the port back now (ReleasePort); the scope's end then does nothing more.
    void release();
    // After the user was told of a failed exchange: the port is given back if the exchange left
    // that to the telling (an error reply). The scope's end does it too, if nobody told.
    void settle();
    // The port stays as it is when the scope ends: the start-mode switches leave the controller
    // as they set it.
    void keepPort() { m_release = false; }

private:
    template <typename T> T owing(T result);

    ControllerExchange *m_link = nullptr;
    OpResult m_refusal = OpResult::done();
    bool m_held = false;
    bool m_release = true;
    bool m_releaseOwed = false; // an error reply's port, given back once it was told
};
