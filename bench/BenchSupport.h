#pragma once

#include "base/UserPrompt.h"

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

// The CPU time this process has used so far, in seconds (the simulator's own process excluded).
inline double cpuSeconds() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}
