#pragma once

#include "base/ProgressView.h"

// For runs without a communication-in-progress window (terminal, benchmarks): how an exchange
// ended is told by the messages and the result.
class SilentProgress : public ProgressView {
public:
    void show() override {}
    void unload() override {}
    void setLabel(const QString &) override {}
    void setMaximum(int) override {}
    void setValue(int) override {}
};
