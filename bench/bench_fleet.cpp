// Benchmark: qvpc-cli writing a QV data file to 1 and to 8 simulated controllers paced at 9600
// baud, in one run each. The controllers are written at once, so the ratio of the two elapsed
// times should stay near 1 (target at most 1.2). The same again with the controllers behind
// ser2net over RFC 2217 on the loopback address, and a read through ser2net against the same
// read on the pty (target at most 1.05). Then all of it over TLS (rfc2217+tls://, the server
// checking the client's certificate), with the handshake's own time.
#include "BenchSupport.h"
#include "data/QvData.h"
#include "data/QvDataFile.h"
#include "link/NetworkLine.h"
#include "sim/ControllerSimulator.h"
#include "sim/Ser2NetCertificates.h"
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
    const QStringList read{QStringLiteral("read")};
    const auto readRatio = [&](const QStringList &line, const char *how) {
        std::vector<double> pty, net;
        for (int round = 0; round < Rounds; ++round) {
            const double a = runCli(one + read);
            const double b = runCli(line + read);
            if (a < 0 || b < 0)
                return false;
            pty.push_back(a);
            net.push_back(b);
        }
        const double p = median(pty);
        const double n = median(net);
        std::printf("read on the pty:         median %.0f ms of %d runs\n", p, Rounds);
        std::printf("read through %s: median %.0f ms of %d runs\n", how, n, Rounds);
        std::printf("ratio %.3f (target at most 1.05)\n", n / p);
        return true;
    };
    if (!readRatio(urls.mid(0, 2), "ser2net")) {
        std::printf("a read failed\n");
        return 1;
    }

    // The same over TLS.
    Ser2NetCertificates certs;
    if (!certs.make() ||
        !certs.client(QStringLiteral("operator"), QStringLiteral("operator"), true)) {
        std::printf("%s\n", qPrintable(certs.error()));
        return 1;
    }
    const Ser2NetRunner::Tls serverTls{certs.path(QStringLiteral("server.crt")),
                                       certs.path(QStringLiteral("server.key")), true,
                                       certs.authDir()};
    const TlsSettings clientTls{certs.path(QStringLiteral("ca.crt")),
                                {},
                                certs.path(QStringLiteral("operator.crt")),
                                certs.path(QStringLiteral("operator.key"))};
    const QStringList tlsOptions{QStringLiteral("--ca"),   clientTls.caFile,
                                 QStringLiteral("--cert"), clientTls.certFile,
                                 QStringLiteral("--key"),  clientTls.keyFile};
    Ser2NetRunner tlsServer;
    QStringList tlsUrls;
    for (const ControllerSimulator &sim : sims)
        tlsUrls << QStringLiteral("--device")
                << tlsServer.addTls(sim.devicePath(), NetAddress::Kind::Rfc2217, serverTls);
    if (!tlsServer.start()) {
        std::printf("%s\n", qPrintable(tlsServer.error()));
        return 1;
    }
    std::vector<double> handshakes;
    for (int round = 0; round < Rounds; ++round) {
        NetworkLine line;
        line.setTls(clientTls);
        if (!line.open(tlsUrls[1])) {
            std::printf("TLS line: %s\n", qPrintable(line.errorString()));
            return 1;
        }
        handshakes.push_back(double(line.handshakeMs()));
        line.close();
    }
    std::printf("TLS handshake (client certificate checked): median %.0f ms of %d\n",
                median(handshakes), Rounds);
    if (!fleetRatio(tlsOptions + tlsUrls.mid(0, 2), tlsOptions + tlsUrls, "ser2net rfc2217+tls")) {
        std::printf("a write through TLS failed\n");
        return 1;
    }
    if (!readRatio(tlsOptions + tlsUrls.mid(0, 2), "TLS    ")) {
        std::printf("a read through TLS failed\n");
        return 1;
    }
    return 0;
}
