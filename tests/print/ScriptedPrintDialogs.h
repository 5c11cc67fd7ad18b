#pragma once

#include "print/PrintDialogs.h"
#include "print/PrintSelection.h"
#include "support/RecordingPage.h"

#include <functional>

// Answers the print command's dialogs from a script: the print selection applies `choose` to the
// published values as the dialog would (after its load has reset the cancel flag and file name);
// the printer dialog gives a recording page, or none when printerChosen is false.
class ScriptedPrintDialogs : public PrintDialogs {
public:
    std::function<void(PrintSelection &)> choose;
    bool printerChosen = true;
    // Runs while the printer dialog is shown.
    std::function<void()> atPrinterDialog;

    PageRecord record;
    int selections = 0;
    int printerDialogs = 0;

    void showPrintSelect(PrintSelection &selection) override {
        ++selections;
        selection.PrintCancel = false;
        selection.PrintPosiFileName.clear();
        if (choose)
            choose(selection);
    }

    std::unique_ptr<ReportPage> choosePrinter() override {
        ++printerDialogs;
        if (atPrinterDialog)
            atPrinterDialog();
        if (!printerChosen)
            return nullptr;
        return std::make_unique<RecordingPage>(record);
    }

    // The choices the dialog can publish.
    static void screenData(PrintSelection &s) {
        s.GridPosiPrint = true;
        s.FilePosiPrint = false;
    }
    static std::function<void(PrintSelection &)> fileData(const QString &path,
                                                          const QString &title) {
        return [path, title](PrintSelection &s) {
            s.GridPosiPrint = false;
            s.FilePosiPrint = true;
            s.PrintPosiFileName = path;
            s.PrintFileTitle = title;
        };
    }
    static void cancel(PrintSelection &s) { s.PrintCancel = true; }
};
