#pragma once

#include "base/OpResult.h"
#include "print/PrintSelection.h"

#include <QString>

class FileOperations;
class MainScreen;
class PrintDialogs;
class ReportPage;
struct QvDataCopies;

// The print command: which data, which printer, then the report of the read copy.
class PrintOperation {
public:
    PrintOperation(QvDataCopies &copies, MainScreen &screen, FileOperations &files);

    // mnuFilePrint: the print selection, the printer dialog, the screen checks or the file read,
    // then the report. Stops quietly on a cancel; a refused check or file has told the user.
    // A page that could not be finished is a file error.
    OpResult PrintData(PrintDialogs &dialogs);

    // The report of a QV data file on page, as the file choice of the print selection prints it.
    // Done when printed; a file error when the file could not be read (with the message shown)
    // or the page not finished (without text).
    OpResult PrintFile(const QString &path, ReportPage &page);

    // The last choice of the print selection; it outlives the dialog.
    const PrintSelection &selection() const { return m_selection; }

private:
    // Reads the file into the read copy. The screen keeps its own data, so an unsaved edit stays
    // marked as changed.
    OpResult readFile(const QString &path);

    QvDataCopies &m_copies;
    MainScreen &m_screen;
    FileOperations &m_files;
    PrintSelection m_selection;
};
