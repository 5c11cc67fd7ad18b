#pragma once

#include "iomon/IoMonitor.h"
#include "sim/ControllerSimulator.h"
#include "support/SessionFixture.h"

#include <QStringList>

// The session's I/O monitor on a simulated controller, the port released after every exchange
// as the stored settings have it by default.
struct IoFixture : SessionFixture {
    ControllerSimulator sim;
    IoMonitor &monitor = session.ioMonitor();

    IoFixture() {
        settings.PortNo = 1;
        settings.OccupyPort = false;
        link.setDeviceOverride(sim.devicePath());
        monitor.reset();
    }

    // The controller's I/O block at these port bytes (outputs included) until "0WS" changes it.
    void hold(int a, int b, int c) { sim.model().holdPorts({a, b, c}); }

    // The controller's next answer to a line beginning with match comes in two pieces, gapMs apart.
    void slowAnswer(const QString &match, int gapMs) {
        SimFault slow;
        slow.match = match;
        slow.times = 1;
        slow.pieces = 2;
        slow.pieceGapMs = gapMs;
        sim.addFault(slow);
    }

    // The signals in the monitor's order, by the names the tests use.
    static int signal(const QString &name) { return int(Names.indexOf(name)); }
    inline static const QStringList Names = {
        QStringLiteral("run"),      QStringLiteral("cont"),   QStringLiteral("pause"),
        QStringLiteral("tip"),      QStringLiteral("rail"),   QStringLiteral("stopped"),
        QStringLiteral("take-out"), QStringLiteral("escape"), QStringLiteral("no-work")};

    // The signals whose red lamp the monitor shows.
    QStringList redLamps() const {
        QStringList red;
        for (int i = 0; i < Names.size(); ++i) {
            if (monitor.lampOn(i))
                red.append(Names.at(i));
        }
        return red;
    }

    // The outputs among them.
    QStringList redOutputs() const {
        QStringList red = redLamps();
        red.removeIf([](const QString &name) {
            return !IoSignals::table()[size_t(signal(name))].isOutput();
        });
        return red;
    }

    // How many lines beginning with this text the controller received.
    int received(const QString &start) const {
        int n = 0;
        for (const QString &line : sim.receivedLines())
            n += line.startsWith(start) ? 1 : 0;
        return n;
    }
};
