// Measures the I/O monitor's poll against the simulated controller (a qvsim process paced at
// 9600 baud): reads per second (target 5.00 within 1 %), how far the reads drift from the 200 ms
// grid over the run, and the CPU share of this process (target under 3 %). The simulator runs in
// a process of its own, so its CPU does not count. Arguments: seconds (default 60), and
// "occupy" to keep the port open between polls.
#include "BenchSupport.h"
#include "iomon/IoMonitor.h"
#include "session/Session.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

int main(int argc, char *argv[]) {
    const OwnSettingsFolder config;
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int seconds = countArgument(args, 1, 60);
    const bool occupy = args.contains(QStringLiteral("occupy"));

    PacedSession paced(occupy);
    if (!paced.started)
        return 1;
    IoMonitor &monitor = paced.session.ioMonitor();

    QElapsedTimer wall;
    std::vector<qint64> readAt; // ns since the start, one per good read
    readAt.reserve(size_t(seconds) * 6);
    QObject::connect(&monitor, &IoMonitor::lampsChanged, &app,
                     [&] { readAt.push_back(wall.nsecsElapsed()); });
    QObject::connect(&monitor, &IoMonitor::monitoringChanged, &app, [&](bool running) {
        if (!running)
            app.quit();
    });
    QTimer::singleShot(seconds * 1000, &monitor, [&] { monitor.StopIoCheck(); });

    wall.start();
    const double cpuBefore = cpuSeconds();
    monitor.toggleMonitoring();
    app.exec();
    const double cpuUsed = cpuSeconds() - cpuBefore;
    const double wallSeconds = double(wall.nsecsElapsed()) / 1e9;
    paced.stopSimulator();

    if (readAt.size() < 2 || monitor.failed()) {
        std::printf("monitoring failed after %zu reads (%d messages)\n", readAt.size(),
                    paced.prompt.shown);
        return 1;
    }
    // Read k (from 0) is due 200 ms x (k + 1) after the start, plus the exchange's own time.
    const double first = double(readAt.front()) / 1e6;
    const double last = double(readAt.back()) / 1e6;
    const size_t n = readAt.size();
    const double expectedLast = first + double(n - 1) * IoMonitor::PollIntervalMs;
    double worstLate = 0;
    for (size_t k = 0; k < n; ++k) {
        const double late =
            double(readAt[k]) / 1e6 - (first + double(k) * IoMonitor::PollIntervalMs);
        worstLate = std::max(worstLate, std::abs(late));
    }
    const double rate = double(n - 1) * 1000.0 / (last - first);
    std::printf("port %s between polls, %d s run\n", occupy ? "kept open" : "released", seconds);
    std::printf("reads: %zu, %.3f per second (target 5.00 within 1 %%: %s)\n", n, rate,
                std::abs(rate - 5.0) <= 0.05 ? "met" : "missed");
    std::printf("first read %.1f ms after start; last read %.1f ms from the 200 ms grid; "
                "worst %.1f ms\n",
                first, last - expectedLast, worstLate);
    std::printf("CPU: %.3f s in %.1f s = %.2f %% (target under 3 %%: %s)\n", cpuUsed, wallSeconds,
                100.0 * cpuUsed / wallSeconds,
                100.0 * cpuUsed / wallSeconds < 3.0 ? "met" : "missed");
    return 0;
}
