#pragma once

#include "link/ProgressView.h"

// A terminal run has no communication-in-progress window: how an exchange ended is told by the
// messages and the exit status.
class SilentProgress : public ProgressView {
public:
    void show() override {}
    void unload() override {}
    void setLabel(const QString &) override {}
    void setMaximum(int) override {}
    void setValue(int) override {}
};
