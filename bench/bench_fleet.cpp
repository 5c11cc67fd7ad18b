// Benchmark: qvpc-cli writing a QV data file to 1 and to 8 simulated controllers paced at 9600
// baud, in one run each. The controllers are written at once, so the ratio of the two elapsed
// times should stay near 1 (target at most 1.2).
#include "data/QvData.h"
#include "data/QvDataFile.h"
#include "sim/ControllerSimulator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace {

constexpr int Controllers = 8;
constexpr int Rounds = 5;

// One run of qvpc-cli; the simulators are served by this process's event loop meanwhile.
// Returns the elapsed milliseconds, or -1 when the run failed.
double runCli(const QStringList &arguments) {
    QProcess process;
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    process.start(QStringLiteral(QVPC_CLI_PATH), arguments);
    loop.exec();
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    if (process.exitCode() != 0) {
        std::fprintf(stderr, "%s", process.readAllStandardError().constData());
        return -1;
    }
    return ms;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[]) {
    // A settings folder of its own: the benchmark must not touch the user's port map.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QCoreApplication app(argc, argv);

    std::array<ControllerSimulator, Controllers> sims;
    for (ControllerSimulator &sim : sims)
        sim.setPaced(true);
    QvData data;
    data.Vel1 = 12, data.Acc1 = 3, data.Dec1 = 2, data.PauseTime1 = 5, data.Pulse1 = 4000;
    data.Vel2 = 10, data.Acc2 = 3, data.Dec2 = 2, data.PauseTime2 = 5, data.Pulse2 = 200;
    data.HomingVel = 8, data.HomingPulse = 300, data.OffsetVel = 6, data.OffsetPulse = 2;
    data.SupplyCounter = 8, data.RestartDelay = 100, data.NoWorkCounter = 200;
    data.SeparateTimer = 100, data.MidDetectCounter = 15, data.TipWorkOffTimer = 20;
    const QString file = config.filePath(QStringLiteral("bench.qvd"));
    if (!QvDataFile::write(file, data)) {
        std::printf("cannot write %s\n", qPrintable(file));
        return 1;
    }

    const QStringList write{QStringLiteral("--yes"), QStringLiteral("write"), file,
                            QStringLiteral("--parameters")};
    QStringList all;
    for (const ControllerSimulator &sim : sims)
        all << QStringLiteral("--device") << sim.devicePath();
    const QStringList one{QStringLiteral("--device"), sims[0].devicePath()};

    std::vector<double> single, fleet;
    for (int round = 0; round < Rounds; ++round) {
        const double a = runCli(one + write);
        const double b = runCli(all + write);
        if (a < 0 || b < 0) {
            std::printf("a write failed\n");
            return 1;
        }
        single.push_back(a);
        fleet.push_back(b);
    }
    const double s = median(single);
    const double f = median(fleet);
    std::printf("write to 1 controller:  median %.0f ms of %d runs\n", s, Rounds);
    std::printf("write to %d controllers: median %.0f ms of %d runs\n", Controllers, f, Rounds);
    std::printf("ratio %.2f (target at most 1.20)\n", f / s);
    return 0;
}
