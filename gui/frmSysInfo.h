#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// What support staff ask for, in one window: the program and Qt versions, the operating system,
// the settings file and its values, and the port map with each device. The copy button puts it
// all on the clipboard as text.
class frmSysInfo : public QDialog {
    Q_OBJECT
public:
    frmSysInfo(const QString &report, QWidget *parent = nullptr);

    QPlainTextEdit *txtSysInfo = nullptr;
    QPushButton *cmdCopy = nullptr, *cmdClose = nullptr;
};
