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

void PrintOperation::PrintData(PrintDialogs &dialogs) {
    // The file menu stays enabled; the buttons come back on every way out.
    m_screen.CMDBTN_Muko();
    const auto enableAgain = qScopeGuard([this] { m_screen.CMDBTN_Yuko(); });

    dialogs.showPrintSelect(m_selection);
    if (m_selection.PrintCancel)
        return;
    const std::unique_ptr<ReportPage> page = dialogs.choosePrinter();
    if (!page)
        return;
    if (m_selection.GridPosiPrint) {
        if (m_screen.ScreenCheck() != 0)
            return;
        m_copies.CopyHensu2Temp();
    }
    if (m_selection.FilePosiPrint && readFile(m_selection.PrintPosiFileName) != 0)
        return;
    PrintSetData(*page, m_copies.read, m_selection, QDateTime::currentDateTime());
}

qint16 PrintOperation::PrintFile(const QString &path, ReportPage &page) {
    PrintSelection selection;
    selection.FilePosiPrint = true;
    selection.PrintPosiFileName = path;
    selection.PrintFileTitle = QFileInfo(path).fileName();
    if (readFile(path) != 0)
        return 1;
    return PrintSetData(page, m_copies.read, selection, QDateTime::currentDateTime()) ? 0 : 1;
}

qint16 PrintOperation::readFile(const QString &path) {
    const bool changed = m_screen.DataChanged();
    const qint16 result = m_files.ReadQvFile(path);
    m_screen.setDataChanged(changed);
    return result;
}
