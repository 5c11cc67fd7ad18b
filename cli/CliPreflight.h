#pragma once

#include "cli/CliOptions.h"

#include <QString>

// The checks of a run that need the file system and the stored settings, made before any
// controller is touched: two names for one controller, a backup that would replace the file
// being written or another controller's backup, a PDF that would replace the file being printed,
// a recording aimed at anything but a file (a controller's own line above all).
// Files and devices are compared by what they resolve to, not by their spelling. For a single
// controller it fills {port} of the backup's name in.
struct Preflight {
    bool usageError = false;
    QString error; // why the run is a usage error
};
Preflight preflight(CliRequest &request);
