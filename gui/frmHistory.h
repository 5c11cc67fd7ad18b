#pragma once

#include "data/WriteJournal.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

// The journal of writes: the entries newest first (number, time, port, how the write ended, how
// many items it changed) and, for the one chosen, each changed item with its value before and
// after. "Restore these values" hands the entry to the caller to put its before-values on the
// screen; the journal itself is read and restored below the windows.
class frmHistory : public QDialog {
    Q_OBJECT
public:
    // journalOn: the window's writes are journalled; without it the dialog says where to turn
    // the journal on.
    frmHistory(const QList<JournalEntry> &entries, bool journalOn, QWidget *mainWindow);

    // The entry chosen when the dialog was ended with Restore.
    const JournalEntry *chosen() const;

    QTableWidget *tblEntries = nullptr;
    QTableWidget *tblItems = nullptr;
    QLabel *lblEmpty = nullptr;
    QLabel *lblJournalOff = nullptr;
    QPushButton *cmdRestore = nullptr;
    QPushButton *cmdClose = nullptr;

private:
    void showItems();

    QList<JournalEntry> m_entries;
};
