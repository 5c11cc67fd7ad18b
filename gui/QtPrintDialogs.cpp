#include "gui/QtPrintDialogs.h"

#include "gui/frmPrintSelect.h"
#include "print/PainterPage.h"

#include <QPrintDialog>
#include <QPrinter>

QtPrintDialogs::QtPrintDialogs(QWidget *mainWindow, QPrinter &printer, FileDialogs &files,
                               UserPrompt &prompt)
    : m_mainWindow(mainWindow), m_printer(printer), m_files(files), m_prompt(prompt) {}

void QtPrintDialogs::showPrintSelect(PrintSelection &selection) {
    frmPrintSelect dialog(selection, m_files, m_prompt, m_mainWindow);
    dialog.exec();
}

std::unique_ptr<ReportPage> QtPrintDialogs::choosePrinter() {
    QPrintDialog dialog(&m_printer, m_mainWindow);
    // One page, no selection to print. Printing to a PDF file stays offered, so that a PC
    // without any printer installed can still print.
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    return std::make_unique<PainterPage>(m_printer);
}
