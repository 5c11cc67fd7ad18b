// The main window's communication log entry: the log window, made when first asked for.
#include "gui/frmCommLog.h"
#include "gui/frmMain.h"

void frmMain::ShowCommLog() {
    if (!m_commLogWindow)
        m_commLogWindow = new frmCommLog(m_commLog, m_commLogDialogs, m_prompt, this);
    m_commLogWindow->show();
    m_commLogWindow->raise();
    m_commLogWindow->activateWindow();
}
