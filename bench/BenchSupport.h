#pragma once

#include "base/UserPrompt.h"
#include "session/Session.h"

#include <QCoreApplication>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>

// A settings folder of the benchmark's own, made before the application: the user's settings and
// port map stay untouched.
struct OwnSettingsFolder {
    OwnSettingsFolder() { qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit()); }
    QTemporaryDir dir;
};

// The count given as argument n (at least 1), fallback without one.
inline int countArgument(const QStringList &args, int n, int fallback) {
    return args.size() > n ? qMax(1, args.at(n).toInt()) : fallback;
}

// A prompt that dismisses every box and counts them: a benchmark has nobody to ask.
class QuietPrompt : public UserPrompt {
public:
    int shown = 0;
    MsgAnswer MsgBox(const QString &, MsgButtons buttons, MsgIcon) override {
        ++shown;
        return dismissAnswer(buttons);
    }
};

// Starts the qvsim beside this program, paced at 9600 baud and quiet, in sim; its device path,
// empty (with the reason printed) when it did not start.
inline QString startPacedSimulator(QProcess &sim) {
    sim.start(QCoreApplication::applicationDirPath() + QStringLiteral("/qvsim"),
              {QStringLiteral("--paced"), QStringLiteral("--quiet")});
    if (!sim.waitForReadyRead(5000)) {
        std::printf("qvsim did not start\n");
        return {};
    }
    return QString::fromLocal8Bit(sim.readLine()).trimmed();
}

// A session whose controller is a qvsim process beside this program, paced at 9600 baud and
// reached as COM1, kept open between calls with occupy. started: false when qvsim did not start.
struct PacedSession {
    explicit PacedSession(bool occupy) {
        const QString device = startPacedSimulator(sim);
        started = !device.isEmpty();
        session.settings.PortNo = 1;
        session.settings.OccupyPort = occupy;
        session.link.setDeviceOverride(device);
    }
    void stopSimulator() {
        sim.kill();
        sim.waitForFinished();
    }

    QProcess sim;
    QuietPrompt prompt;
    Session session{prompt};
    bool started = false;
};

// The CPU time this process has used so far, in seconds (the simulator's own process excluded).
inline double cpuSeconds() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}
