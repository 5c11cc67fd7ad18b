// The main window's dialogs without a bracket: options, help and the about box.
#include "base/ResText.h"
#include "base/SystemInfoProgram.h"
#include "gui/PortStatusLabel.h"
#include "gui/frmAbout.h"
#include "gui/frmMain.h"
#include "gui/frmOptions.h"
#include "gui/frmSysInfo.h"
#include "session/SystemReport.h"

// The options dialog; the parameter display and the status bar then follow what it has set.
void frmMain::ViewOption() {
    {
        frmOptions dialog(m_settings, m_link, m_prompt, *this);
        dialog.exec();
    }
    applyParameterDisplay();
    m_portStatus->refresh();
}

void frmMain::HelpContents() {
    m_help->ShowHelp(ResText(463), quintptr(winId()));
}

// The about box; its system-information button starts the system's program where the system has
// one, else it opens a window of the program's own.
void frmMain::HelpAbout() {
    frmAbout about(m_prompt, [this](QWidget *owner) {
        if (SystemInfoProgram::systemHasOne())
            return SystemInfoProgram::start();
        frmSysInfo info(systemReport(m_link), owner);
        info.show();
        if (!info.isVisible())
            return false;
        info.exec();
        return true;
    });
    about.exec();
}
