// Benchmark: qvpc-cli on network lines.
// 1. A whole read through ser2net, over RFC 2217 and over raw TCP, each with and without the
//    accepter's nodelay, against the same read on the pty; all at 9600 baud pacing, medians of 5
//    runs (target at most 1.05 without nodelay).
// 2. The peak memory of qvpc-cli under a server that floods the line between two commands,
//    during a reply wait and inside an endless Telnet subnegotiation, and how long the run took.
// 3. `qvpc-cli ports` with 8 network entries whose servers never answer (target at most one
//    connect limit, 4 s).
// `--cli PATH` measures another build of qvpc-cli (an earlier one, for comparison).
#include "BenchSupport.h"
#include "link/PortMap.h"
#include "sim/ControllerSimulator.h"
#include "sim/Ser2NetRunner.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <vector>

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int Rounds = 5;
constexpr int LimitMs = 30000;

struct Run {
    double ms = -1; // -1: did not end within the limit
    int exitCode = 0;
    qint64 peakKiB = 0;
};

// One run of qvpc-cli, the servers of this process served meanwhile. Its peak memory is the
// kernel's account of the process when it ends (wait4), so even a run of a few milliseconds is
// measured whole; the end is seen through a pidfd, without polling.
Run runCli(const QString &cli, const QStringList &arguments) {
    std::vector<QByteArray> words{QFile::encodeName(cli)};
    for (const QString &a : arguments)
        words.push_back(a.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &quiet, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&quiet);
    Run run;
    if (spawned != 0)
        return run;
    const int ended = int(syscall(SYS_pidfd_open, pid, 0));
    if (ended >= 0) {
        QEventLoop loop;
        QSocketNotifier notifier(ended, QSocketNotifier::Read);
        QObject::connect(&notifier, &QSocketNotifier::activated, &loop, &QEventLoop::quit);
        QTimer::singleShot(LimitMs, &loop, &QEventLoop::quit);
        loop.exec();
        close(ended);
    }
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, WNOHANG, &usage) != pid) {
        kill(pid, SIGKILL);
        wait4(pid, &status, 0, &usage);
        run.peakKiB = usage.ru_maxrss;
        return run;
    }
    run.ms = ms;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.peakKiB = usage.ru_maxrss;
    return run;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A server that answers the first line with first, then sends flood again and again. Over
// Telnet it takes every option and answers the line settings as asked first.
class Flooder : public QObject {
public:
    Flooder(bool telnet, QByteArray first, const QByteArray &flood)
        : m_telnet(telnet), m_first(std::move(first)) {
        m_chunk = flood.repeated(16384 / flood.size() + 1);
        m_server.listen(QHostAddress::LocalHost, 0);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            m_client = m_server.nextPendingConnection();
            if (m_telnet)
                m_client->write(QByteArray("\xff\xfd\x2c\xff\xfd\x00\xff\xfb\x00", 9));
            connect(m_client, &QTcpSocket::readyRead, this, [this] { onReadable(); });
        });
        connect(&m_flooding, &QTimer::timeout, this, [this] {
            if (m_client->state() != QAbstractSocket::ConnectedState)
                m_flooding.stop();
            else if (m_client->bytesToWrite() < 256 * 1024)
                m_client->write(m_chunk);
        });
    }
    quint16 port() const { return m_server.serverPort(); }

private:
    void onReadable() {
        m_received += m_client->readAll();
        if (m_telnet && !m_setUp && m_received.contains(QByteArray("\xff\xfa\x2c\x05", 4))) {
            m_setUp = true;
            const QByteArray answers[] = {QByteArray("\x65\x00\x00\x25\x80", 5),
                                          QByteArray("\x66\x08", 2), QByteArray("\x67\x01", 2),
                                          QByteArray("\x68\x01", 2), QByteArray("\x69\x01", 2)};
            for (const QByteArray &a : answers)
                m_client->write(QByteArray("\xff\xfa\x2c", 3) + a + QByteArray("\xff\xf0", 2));
        }
        if (m_received.endsWith('\n') && !m_flooding.isActive()) {
            m_client->write(m_first);
            m_flooding.start(0);
        }
    }

    bool m_telnet;
    bool m_setUp = false;
    QTcpServer m_server;
    QTcpSocket *m_client = nullptr;
    QTimer m_flooding;
    QByteArray m_received;
    QByteArray m_first;
    QByteArray m_chunk;
};

} // namespace

int main(int argc, char *argv[]) {
    const OwnSettingsFolder config;
    QCoreApplication app(argc, argv);
    QString cli = QStringLiteral(QVPC_CLI_PATH);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--cli"))
        cli = args[2];
    std::printf("qvpc-cli: %s\n", qPrintable(cli));

    // 1. Reads.
    std::array<ControllerSimulator, 5> sims;
    for (ControllerSimulator &sim : sims)
        sim.setPaced(true);
    Ser2NetRunner ser2net;
    const char *names[] = {"pty", "rfc2217, nodelay", "rfc2217, default", "tcp, nodelay",
                           "tcp, default"};
    const QStringList devices{sims[0].devicePath(),
                              ser2net.add(sims[1].devicePath(), NetAddress::Kind::Rfc2217, true),
                              ser2net.add(sims[2].devicePath(), NetAddress::Kind::Rfc2217, false),
                              ser2net.add(sims[3].devicePath(), NetAddress::Kind::Tcp, true),
                              ser2net.add(sims[4].devicePath(), NetAddress::Kind::Tcp, false)};
    if (!ser2net.start()) {
        std::printf("%s\n", qPrintable(ser2net.error()));
        return 1;
    }
    std::array<std::vector<double>, 5> times;
    for (int round = 0; round < Rounds; ++round) {
        for (size_t i = 0; i < times.size(); ++i) {
            const Run r = runCli(
                cli, {QStringLiteral("--device"), devices[qsizetype(i)], QStringLiteral("read")});
            if (r.ms < 0 || r.exitCode != 0) {
                std::printf("a read over %s failed\n", names[i]);
                return 1;
            }
            times[i].push_back(r.ms);
        }
    }
    const double pty = median(times[0]);
    for (size_t i = 0; i < times.size(); ++i)
        std::printf("read, %-17s median %5.0f ms of %d runs, ratio to the pty %.3f\n", names[i],
                    median(times[i]), Rounds, median(times[i]) / pty);

    // 2. Floods.
    struct Flood {
        const char *name;
        const char *scheme;
        QByteArray first;
        QByteArray flood;
    };
    const Flood floods[] = {
        {"between two commands (tcp)", "tcp", "0CM1\r\n", "x"},
        {"during a reply wait (tcp)", "tcp", "", "0CM"},
        {"endless subnegotiation", "rfc2217", QByteArray("\xff\xfa\x2c", 3), "x"},
    };
    for (const Flood &f : floods) {
        Flooder server(QLatin1String(f.scheme) == QLatin1String("rfc2217"), f.first, f.flood);
        const QString url =
            QStringLiteral("%1://127.0.0.1:%2").arg(QLatin1String(f.scheme)).arg(server.port());
        const Run r = runCli(cli, {QStringLiteral("--device"), url, QStringLiteral("read")});
        if (r.ms < 0)
            std::printf("flood %-28s did not end within %d s, peak %lld MiB\n", f.name,
                        LimitMs / 1000, r.peakKiB / 1024);
        else
            std::printf("flood %-28s ended after %5.0f ms (exit %d), peak %.1f MiB\n", f.name, r.ms,
                        r.exitCode, double(r.peakKiB) / 1024);
    }

    // 3. Eight silent servers in the port map.
    std::vector<std::unique_ptr<QTcpServer>> silent;
    for (int n = 1; n <= 8; ++n) {
        silent.push_back(std::make_unique<QTcpServer>());
        silent.back()->listen(QHostAddress::LocalHost, 0);
        PortMap::setEntry(
            n, QStringLiteral("rfc2217://127.0.0.1:%1").arg(silent.back()->serverPort()));
    }
    const Run ports = runCli(cli, {QStringLiteral("ports")});
    std::printf("ports with 8 silent network entries: %.0f ms (target at most 4000)\n", ports.ms);
    return 0;
}
