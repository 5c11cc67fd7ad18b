// Measures the reply wait: (a) the CPU time the process uses while it waits 5 s for a controller
// that stays silent, (b) the round trip of the communication check against a controller paced at
// 9600 baud, as a ratio to the wire time of its 12 characters, (c) what the communication log adds
// to an exchange.
#include "BenchSupport.h"
#include "base/StoredSettings.h"
#include "base/UserPrompt.h"
#include "link/CommLog.h"
#include "link/ControllerLink.h"
#include "sim/ControllerSimulator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

int main(int argc, char *argv[]) {
    const OwnSettingsFolder config;
    QCoreApplication app(argc, argv);

    ControllerSimulator sim;
    StoredSettings settings;
    settings.PortNo = 1;
    settings.OccupyPort = true;
    ControllerLink link(settings);
    link.setDeviceOverride(sim.devicePath());
    // The port kept open between calls, as an operation with OccupyPort set leaves it.
    const auto controller = [&link] {
        ControllerScope c = link.controller(ControllerLink::Opening::PortOnly);
        c.keepPort();
        return c;
    };
    const auto check = [&controller] {
        ControllerScope c = controller();
        return c.isHeld() && c.checkCommunication().isDone();
    };

    // (a) a silent controller and a 5-second wait (the version read's)
    SimFault silent;
    silent.silent = true;
    silent.times = 1;
    sim.addFault(silent);
    QElapsedTimer wall;
    wall.start();
    const double cpuBefore = cpuSeconds();
    const bool answered = controller().version().isDone();
    const double cpuUsed = cpuSeconds() - cpuBefore;
    std::printf("silent wait: %.3f s wall, %.4f s CPU (target under 0.05 s), answered %d\n",
                double(wall.elapsed()) / 1000.0, cpuUsed, int(answered));

    // (b) round trip of the communication check at 9600 baud
    sim.setPaced(true);
    const double wireMs = 12.0 * ControllerSimulator::CharacterNs / 1e6;
    std::vector<double> trips;
    for (int i = 0; i < 40; ++i) {
        QElapsedTimer trip;
        trip.start();
        if (!check()) {
            std::printf("communication check failed\n");
            return 1;
        }
        trips.push_back(double(trip.nsecsElapsed()) / 1e6);
    }
    std::sort(trips.begin(), trips.end());
    const double median = trips[trips.size() / 2];
    std::printf("check round trip: median %.2f ms, worst %.2f ms, wire time %.2f ms, "
                "ratio %.3f (target at most 1.10)\n",
                median, trips.back(), wireMs, median / wireMs);

    // (c) what the communication log costs: unpaced checks without a log, with a log that
    // nobody looks at (the window closed) and with a log whose lines are made and handed out.
    // The three take turns in random order, so that neither a drift of the machine nor the case
    // run before counts against any of them.
    sim.setPaced(false);
    CommLog kept;
    CommLog shown;
    QStringList heard;
    shown.setListener([&heard](const QString &line) { heard.append(line); });
    CommLog *const logs[] = {nullptr, &kept, &shown};
    std::vector<double> times[3];
    std::mt19937 random(1);
    for (int round = 0; round < 300; ++round) {
        // Each round runs the three in a new order: no case always follows the same one.
        int order[] = {0, 1, 2};
        std::shuffle(std::begin(order), std::end(order), random);
        for (const int c : order) {
            link.setLog(logs[c]);
            QElapsedTimer trip;
            trip.start();
            check();
            times[c].push_back(double(trip.nsecsElapsed()) / 1e3);
        }
    }
    link.setLog(nullptr);
    const auto medianOf = [](std::vector<double> &v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    std::printf("unpaced check: median %.0f us without a log, %.0f us with the log kept, "
                "%.0f us with its lines shown\n",
                medianOf(times[0]), medianOf(times[1]), medianOf(times[2]));
    return 0;
}
