#pragma once

#include "base/OpResult.h"
#include "link/ControllerCommands.h"

#include <QString>

// What a ControllerScope needs of the link that handed it out: one exchange per command, the
// restart's line that awaits no reply, and giving the port back.
class ControllerExchange {
public:
    virtual ~ControllerExchange() = default;

    // One command line out and its reply back; the reply, CR LF included, when done. A failed
    // one tells everything in its result and shows nothing; the port is closed after a timeout
    // and given back after a malformed reply (after the recovery line), but kept after an error
    // reply until the operation has told the user (ControllerScope::settle()).
    virtual Valued<QString> exchange(ControllerCommand command, const QString &data) = 0;
    // The line of a command that awaits no reply; done once it has left the line.
    virtual OpResult sendNoReply(ControllerCommand command) = 0;
    // Closes the port unless it is to be kept (OccupyPort).
    virtual void ReleasePort() = 0;
};
