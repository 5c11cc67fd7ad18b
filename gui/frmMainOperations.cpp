// The operations the main window's buttons and menus start. Each is built with its own subsystem;
// until then its entry point here does nothing, as each says.
#include "gui/frmMain.h"

#include "data/ControllerTransfer.h"
#include "data/FileOperations.h"
#include "data/Verification.h"

void frmMain::FileNew() {
    m_session.files().New();
}

void frmMain::FileOpen() {
    m_session.files().Open();
}

qint16 frmMain::SaveFile() {
    return m_session.files().Save();
}

void frmMain::SaveFileAs() {
    m_session.files().SaveAs();
}

void frmMain::GetfromCt() {
    m_session.transfer().GetfromCt();
}

void frmMain::OnlineDataRead() {
    m_session.transfer().OnlineDataRead();
}

void frmMain::LoadtoCt() {
    m_session.transfer().LoadtoCt();
}

// The buttons verify inside the bracket; the menu items leave the buttons enabled.
void frmMain::ShogoCtButton() {
    m_session.verification().PosiDataCtShogo(true);
}

void frmMain::ShogoCtMenu() {
    m_session.verification().PosiDataCtShogo(false);
}

void frmMain::ShogoFileButton() {
    m_session.verification().PosiDataFileShogo(true);
}

void frmMain::ShogoFileMenu() {
    m_session.verification().PosiDataFileShogo(false);
}

// Printing is built with the print selection and report; nothing happens yet.
void frmMain::PrintData() {}

// The options dialog is shown here once it is built; the parameter display then follows what it
// has set.
void frmMain::ViewOption() {
    applyParameterDisplay();
}

// The controller version query is built with the controller modes; nothing happens yet.
void frmMain::ViewCtVersion() {}

// The I/O monitor window is built with the I/O monitor; nothing happens yet.
void frmMain::ShowInpOutp() {}

// Switching the controller to communication mode is built with the controller modes; nothing
// happens yet.
void frmMain::ModeTrancefer() {}

// Switching the controller to external start mode is built with the controller modes; nothing
// happens yet.
void frmMain::ModeGaibu() {}

// The help contents are built with help; nothing happens yet.
void frmMain::HelpContents() {}

// The about box is built with the about box; nothing happens yet.
void frmMain::HelpAbout() {}

// Moving to the chosen position (or repeating) is built with the Move-mode operations; nothing
// happens yet.
void frmMain::SelectMove() {}

// Stopping a repeated move is built with the Move-mode operations; nothing happens yet.
void frmMain::StopMove() {}

// Homing is built with the Move-mode operations; nothing happens yet.
void frmMain::HomeMove() {}

// The controller reset is built with the Move-mode operations; nothing happens yet.
void frmMain::ResetController() {}
