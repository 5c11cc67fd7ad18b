#pragma once

#include "print/PrintDialogs.h"

class FileDialogs;
class QPrinter;
class QWidget;
class UserPrompt;

// The print command's dialogs as windows: frmPrintSelect, and Qt's printer dialog on the printer
// the page set-up shares.
class QtPrintDialogs : public PrintDialogs {
public:
    QtPrintDialogs(QWidget *mainWindow, QPrinter &printer, FileDialogs &files, UserPrompt &prompt);

    void showPrintSelect(PrintSelection &selection) override;
    std::unique_ptr<ReportPage> choosePrinter() override;

private:
    QWidget *m_mainWindow;
    QPrinter &m_printer;
    FileDialogs &m_files;
    UserPrompt &m_prompt;
};
