#pragma once

#include <memory>

class ReportPage;
struct PrintSelection;

// The two dialogs of the print command, without widgets: the window shows the print selection
// and the printer dialog, tests answer from a script.
class PrintDialogs {
public:
    virtual ~PrintDialogs() = default;

    // The print selection, modal; it publishes the user's choice into selection.
    virtual void showPrintSelect(PrintSelection &selection) = 0;
    // The printer dialog; the page of the chosen printer, or none when it was cancelled.
    virtual std::unique_ptr<ReportPage> choosePrinter() = 0;
};
