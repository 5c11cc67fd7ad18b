// Benchmark: qvpc-cli writing a QV data file to 1 and to 8 simulated controllers paced at 9600
// baud, in one run each. The controllers are written at once, so the ratio of the two elapsed
// times should stay near 1 (target at most 1.2). The same again with the controllers behind
// ser2net over RFC 2217 on the loopback address, and a read through ser2net against the same
// read on the pty (target at most 1.05).
#include "BenchSupport.h"
#include "data/QvData.h"
#include "data/QvDataFile.h"
#include "sim/ControllerSimulator.h"
#include "sim/Ser2NetRunner.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
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
    const OwnSettingsFolder config;
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
    const QString file = config.dir.filePath(QStringLiteral("bench.qvd"));
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

    const auto fleetRatio = [&](const QStringList &oneLine, const QStringList &allLines,
                                const char *how) {
        std::vector<double> single, fleet;
        for (int round = 0; round < Rounds; ++round) {
            const double a = runCli(oneLine + write);
            const double b = runCli(allLines + write);
            if (a < 0 || b < 0)
                return false;
            single.push_back(a);
            fleet.push_back(b);
        }
        const double s = median(single);
        const double f = median(fleet);
        std::printf("%s: write to 1 controller:  median %.0f ms of %d runs\n", how, s, Rounds);
        std::printf("%s: write to %d controllers: median %.0f ms of %d runs\n", how, Controllers, f,
                    Rounds);
        std::printf("%s: ratio %.2f (target at most 1.20)\n", how, f / s);
        return true;
    };
    if (!fleetRatio(one, all, "pty")) {
        std::printf("a write failed\n");
        return 1;
    }

    Ser2NetRunner ser2net;
    QStringList urls;
    for (const ControllerSimulator &sim : sims)
        urls << QStringLiteral("--device")
             << ser2net.add(sim.devicePath(), NetAddress::Kind::Rfc2217);
    if (!ser2net.start()) {
        std::printf("%s\n", qPrintable(ser2net.error()));
        return 1;
    }
    if (!fleetRatio(urls.mid(0, 2), urls, "ser2net rfc2217")) {
        std::printf("a write through ser2net failed\n");
        return 1;
    }
    std::vector<double> pty, net;
    const QStringList read{QStringLiteral("read")};
    for (int round = 0; round < Rounds; ++round) {
        const double a = runCli(one + read);
        const double b = runCli(urls.mid(0, 2) + read);
        if (a < 0 || b < 0) {
            std::printf("a read failed\n");
            return 1;
        }
        pty.push_back(a);
        net.push_back(b);
    }
    const double p = median(pty);
    const double n = median(net);
    std::printf("read on the pty:         median %.0f ms of %d runs\n", p, Rounds);
    std::printf("read through ser2net:    median %.0f ms of %d runs\n", n, Rounds);
    std::printf("ratio %.3f (target at most 1.05)\n", n / p);
    return 0;
}
