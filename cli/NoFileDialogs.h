#pragma once

#include "base/FileDialogs.h"

// A terminal run takes its file names from the command line; a file chooser, were one asked
// for, is cancelled.
class NoFileDialogs : public FileDialogs {
protected:
    QString chooseOpen(const Options &) override { return {}; }
    QString chooseSave(const Options &) override { return {}; }
};
