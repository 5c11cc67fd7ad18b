#pragma once

#include <QString>

// The communication-in-progress window as the logic sees it: shown while a series of exchanges
// runs, with a label and a bar that moves one step per block. frmTrance is the window; tests
// record what it is told.
class ProgressView {
public:
    virtual ~ProgressView() = default;

    // Shows the window (modeless).
    virtual void show() = 0;
    // Closes the window for good.
    virtual void unload() = 0;
    virtual void setLabel(const QString &text) = 0;
    virtual void setMaximum(int maximum) = 0;
    virtual void setValue(int value) = 0;
};
