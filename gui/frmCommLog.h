#pragma once

#include <QDialog>

class CommLog;
class FileDialogs;
class QPlainTextEdit;
class QPushButton;
class UserPrompt;

// The communication log window: what went over the serial line, newest at the bottom, with Save
// to a text file and Clear. Modeless; it follows the log while it is shown and lets go of it
// when closed.
class frmCommLog : public QDialog {
    Q_OBJECT
public:
    frmCommLog(CommLog &log, FileDialogs &dialogs, UserPrompt &prompt, QWidget *mainWindow);

    QPlainTextEdit *txtLog = nullptr;
    QPushButton *cmdSave = nullptr;
    QPushButton *cmdClear = nullptr;
    QPushButton *cmdClose = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void save();
    void append(const QString &line);

    CommLog &m_log;
    FileDialogs &m_dialogs;
    UserPrompt &m_prompt;
    QWidget *m_mainWindow = nullptr;
    bool m_placed = false;
    QMetaObject::Connection m_follow;
};
