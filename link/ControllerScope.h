#pragma once

#include "base/OpResult.h"

#include <QString>

class ControllerLink;

// The controller held for one operation: the port opened (and, as asked, checked) by
// ControllerLink::controller(), released as ReleasePort releases it when the scope ends, on every
// way out. A refused scope holds nothing: it carries why (busy, no port, the failed check) and
// releases nothing, so a port another exchange waits on is left alone.
//
// Each call is one exchange. A failed one has told the user what the exchange tells (timeout,
// error reply, malformed reply) and released or closed the port itself; its result carries the
// whole cause: the kind, the port, the reason, the alarm's code and text.
class ControllerScope {
public:
    ControllerScope(ControllerScope &&other) noexcept;
    ControllerScope &operator=(ControllerScope &&) = delete;
    ControllerScope(const ControllerScope &) = delete;
    ControllerScope &operator=(const ControllerScope &) = delete;
    ~ControllerScope();

    // Whether the controller was handed over; otherwise refusal() says why.
    bool isHeld() const { return m_link != nullptr; }
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
    // The port stays as it is when the scope ends: the start-mode switches leave the controller
    // as they set it.
    void keepPort() { m_release = false; }

private:
    friend class ControllerLink;
    explicit ControllerScope(ControllerLink &link) : m_link(&link) {}
    explicit ControllerScope(const OpResult &refusal) : m_refusal(refusal) {}

    ControllerLink *m_link = nullptr;
    OpResult m_refusal = OpResult::done();
    bool m_release = true;
};
