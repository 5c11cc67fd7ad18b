#include "print/PrintOperation.h"

#include "base/MainScreen.h"
#include "data/FileOperations.h"
#include "data/QvData.h"
#include "print/PrintDialogs.h"
#include "print/PrintReport.h"
#include "print/ReportPage.h"

#include <QDateTime>
#include <QFileInfo>
#include <QScopeGuard>

PrintOperation::PrintOperation(QvDataCopies &copies, MainScreen &screen, FileOperations &files)
    : m_copies(copies), m_screen(screen), m_files(files) {}

namespace {

// A page that could not be finished is a file error without words: its front end knows where
// the page was to go.
OpResult pageResult(bool finished) {
    return finished ? OpResult::done() : OpResult::failed(OpResult::Failure::FileError);
}

} // namespace

OpResult PrintOperation::PrintData(PrintDialogs &dialogs) {
    // The file menu stays enabled; the buttons come back on every way out.
    m_screen.CMDBTN_Muko();
    const auto enableAgain = qScopeGuard([this] { m_screen.CMDBTN_Yuko(); });

    dialogs.showPrintSelect(m_selection);
    if (m_selection.PrintCancel)
        return OpResult::stopped();
    const std::unique_ptr<ReportPage> page = dialogs.choosePrinter();
    if (!page)
        return OpResult::stopped();
    if (m_selection.GridPosiPrint) {
        if (!m_screen.ScreenCheck())
            return OpResult::failed(OpResult::Failure::Refused);
        m_copies.CopyHensu2Temp();
    }
    if (m_selection.FilePosiPrint) {
        const OpResult read = readFile(m_selection.PrintPosiFileName);
        if (!read.isDone())
            return read;
    }
    return pageResult(
        PrintSetData(*page, m_copies.read, m_selection, QDateTime::currentDateTime()));
}

OpResult PrintOperation::PrintFile(const QString &path, ReportPage &page) {
    PrintSelection selection;
    selection.FilePosiPrint = true;
    selection.PrintPosiFileName = path;
    selection.PrintFileTitle = QFileInfo(path).fileName();
    const OpResult read = readFile(path);
    if (!read.isDone())
        return read;
    return pageResult(PrintSetData(page, m_copies.read, selection, QDateTime::currentDateTime()));
}

OpResult PrintOperation::readFile(const QString &path) {
    const bool changed = m_screen.DataChanged();
    const OpResult result = m_files.ReadQvFile(path);
    m_screen.setDataChanged(changed);
    return result;
}
