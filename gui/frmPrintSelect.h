#pragma once

#include <QDialog>

class FileDialogs;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class UserPrompt;
struct PrintSelection;

// The print selection: the data on the screen or the data of a saved file, the file chosen with
// the browse button. Publishes the choice into the PrintSelection it was given. Cancel, Escape
// and the close box all leave it as a cancel.
class frmPrintSelect : public QDialog {
    Q_OBJECT
public:
    frmPrintSelect(PrintSelection &selection, FileDialogs &dialogs, UserPrompt &prompt,
                   QWidget *mainWindow);

    QLabel *lblPrintSet = nullptr;
    QGroupBox *frmPrintPosi = nullptr;
    QRadioButton *optPrintPosi[2] = {nullptr, nullptr};
    QLabel *lblPrintPosiName = nullptr;
    QPushButton *cmdSelectPosiFile = nullptr;
    QPushButton *cmdPrintSet = nullptr;
    QPushButton *cmdPrintCancel = nullptr;

    void reject() override;

private:
    void optPrintPosi_Click();
    void cmdSelectPosiFile_Click();
    void cmdPrintSet_Click();

    PrintSelection &m_selection;
    FileDialogs &m_dialogs;
    UserPrompt &m_prompt;
};
