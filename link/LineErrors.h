#pragma once

#include "link/SerialLine.h"

#include <QString>

// What the serial driver told of the line since the last command went out (framing errors,
// overruns, parity errors, a break), as a line of text that explains an exchange that failed;
// empty when it told nothing or the system tells nothing of the kind (Linux's serial layer).
// (LineErrorsPosix.cpp, LineErrorsWin.cpp.)
QString lineErrorsSinceCommand(const SerialLine &port);
