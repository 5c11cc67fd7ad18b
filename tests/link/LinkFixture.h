#pragma once

#include "base/StoredSettings.h"
#include "data/ExchangeMessage.h"
#include "link/ControllerLink.h"
#include "sim/ControllerSimulator.h"
#include "support/ScriptedPrompt.h"

#include <memory>

// A controller simulator on a pty, reached by the link as COM1 through the port map. The system's
// own serial devices stay out of the map.
struct LinkFixture {
    ControllerSimulator sim;
    StoredSettings settings;
    ScriptedPrompt prompt;
    std::unique_ptr<ControllerLink> link;

    explicit LinkFixture(bool occupyPort = true) {
        settings.PortNo = 1;
        settings.OccupyPort = occupyPort;
        PortMap::setEntry(1, sim.devicePath());
        link = std::make_unique<ControllerLink>(settings);
        link->portMap() = PortMap([] { return QList<SerialDevice>{}; });
    }

    // The controller for one call, the port left as the call left it.
    ControllerScope controller() {
        ControllerScope c = link->controller(ControllerLink::Opening::PortOnly);
        c.keepPort();
        return c;
    }
    // One call on the controller, its failure presented as an operation presents it.
    template <typename Call> auto told(Call call) {
        ControllerScope c = controller();
        const auto result = call(c);
        presentExchange(prompt, c, resultOf(result));
        return result;
    }
    // The communication check alone.
    OpResult check() {
        return told(
            [](ControllerScope &c) { return c.isHeld() ? c.checkCommunication() : c.refusal(); });
    }

private:
    static const OpResult &resultOf(const OpResult &r) { return r; }
    static const OpResult &resultOf(const Valued<QString> &r) { return r.result; }
};
