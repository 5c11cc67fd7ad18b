#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class UserPrompt;

// The about box: icon, title, version, what the program does, the notice with the download
// address, OK and the system-information button.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    // showSysInfo opens the system-information window and says whether it could be shown.
    frmAbout(UserPrompt &prompt, std::function<bool(QWidget *)> showSysInfo,
             QWidget *parent = nullptr);

    // Opens the system-information window, or says that none is available.
    void StartSysInfo();

    QLabel *picIcon = nullptr, *lblTitle = nullptr, *lblVersion = nullptr;
    QLabel *lblDescription = nullptr, *lblDisclaimer = nullptr;
    QPushButton *cmdOK = nullptr, *cmdSysInfo = nullptr;

private:
    UserPrompt &m_prompt;
    std::function<bool(QWidget *)> m_showSysInfo;
};
