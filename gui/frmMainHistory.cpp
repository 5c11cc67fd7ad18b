// The main window's write history: the journal's entries in their window, and an entry's
// before-values restored onto the screen.
#include "base/ResText.h"
#include "gui/frmHistory.h"
#include "gui/frmMain.h"

#include <QStatusBar>

void frmMain::ShowHistory() {
    frmHistory dialog(m_session.journal.entries(), m_settings.KeepJournal, this);
    if (dialog.exec() != QDialog::Accepted || !dialog.chosen())
        return;
    const JournalEntry entry = *dialog.chosen();
    if (restoreBefore(entry, m_copies, m_session.files(), *this).isDone())
        ShowNote(ResText(1585).arg(entry.number));
}

void frmMain::ShowNote(const QString &text) {
    statusBar()->showMessage(text);
}
