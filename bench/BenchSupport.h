#pragma once

#include "base/UserPrompt.h"

#include <QCoreApplication>
#include <QProcess>
#include <QString>

#include <cstdio>
#include <ctime>

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

// The CPU time this process has used so far, in seconds (the simulator's own process excluded).
inline double cpuSeconds() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}
