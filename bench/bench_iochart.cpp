// Measures what the I/O monitor window's strip chart costs: the window monitors a qvsim process
// paced at 9600 baud (its feeder running, so the traces change), once with the chart shown and
// once with it hidden, in turns, and reports the CPU share of this process for each. Run it on a
// real display or under xvfb-run. Arguments: seconds per turn (default 30), turns per kind
// (default 2).
#include "BenchSupport.h"
#include "gui/IoTimelineChart.h"
#include "gui/frmInputOutput.h"
#include "iomon/IoMonitor.h"
#include "session/Session.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

// One turn of monitoring; the CPU share of the process over it, in percent.
double monitorFor(frmInputOutput &window, IoMonitor &monitor, int seconds, int &reads) {
    QEventLoop loop;
    int n = 0;
    const auto counting = QObject::connect(&monitor, &IoMonitor::portsRead, &loop, [&] { ++n; });
    QElapsedTimer wall;
    wall.start();
    const double cpuBefore = cpuSeconds();
    window.cmdMonitor->click();
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    const double cpu = cpuSeconds() - cpuBefore;
    const double elapsed = double(wall.nsecsElapsed()) / 1e9;
    window.cmdMonitor->click();
    QObject::disconnect(counting);
    reads = n;
    return 100.0 * cpu / elapsed;
}

} // namespace

int main(int argc, char *argv[]) {
    const OwnSettingsFolder config;
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int seconds = countArgument(args, 1, 30);
    const int turns = countArgument(args, 2, 2);

    PacedSession paced(false);
    if (!paced.started)
        return 1;
    IoMonitor &monitor = paced.session.ioMonitor();
    frmInputOutput window(monitor);
    window.show();
    QEventLoop settle;
    QTimer::singleShot(500, &settle, &QEventLoop::quit);
    settle.exec();

    std::printf("platform %s, %d s per turn, %d turns each\n", qPrintable(app.platformName()),
                seconds, turns);
    double share[2] = {0, 0};
    for (int turn = 0; turn < 2 * turns; ++turn) {
        const bool shown = turn % 2 == 0;
        window.chartTimeline->setVisible(shown);
        int reads = 0;
        const double cpu = monitorFor(window, monitor, seconds, reads);
        share[shown ? 0 : 1] += cpu / turns;
        std::printf("turn %d, chart %s: %d reads, CPU %.2f %%\n", turn + 1,
                    shown ? "shown " : "hidden", reads, cpu);
    }
    paced.stopSimulator();
    if (paced.prompt.shown > 0) {
        std::printf("monitoring failed (%d messages)\n", paced.prompt.shown);
        return 1;
    }
    std::printf("CPU share of the window while monitoring: chart shown %.2f %%, hidden %.2f %%, "
                "the chart's cost %.2f points\n",
                share[0], share[1], share[0] - share[1]);
    return 0;
}
