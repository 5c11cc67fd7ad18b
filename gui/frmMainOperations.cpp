// The operations the main window's buttons and menus start, each handed to the session's logic.
#include "gui/frmMain.h"

#include "base/ResText.h"
#include "data/ControllerTransfer.h"
#include "data/FileOperations.h"
#include "data/Verification.h"
#include "gui/frmCycleTest.h"
#include "gui/frmInputOutput.h"
#include "ops/ControllerModes.h"
#include "ops/MoveOperations.h"
#include "print/PrintOperation.h"

#include <QRadioButton>
#include <QStatusBar>

void frmMain::FileNew() {
    m_session.files().New();
}

void frmMain::FileOpen() {
    m_session.files().Open();
}

OpResult frmMain::SaveFile() {
    return m_session.files().Save();
}

void frmMain::SaveFileAs() {
    m_session.files().SaveAs();
}

void frmMain::GetfromCt() {
    tellIfBusy(m_session.transfer().GetfromCt());
}

void frmMain::OnlineDataRead() {
    tellIfBusy(m_session.transfer().OnlineDataRead());
    returnFocus(nullptr);
}

void frmMain::LoadtoCt() {
    tellIfBusy(m_session.transfer().LoadtoCt());
}

// The buttons verify inside the bracket; the menu items leave the buttons enabled.
void frmMain::ShogoCtButton() {
    tellIfBusy(m_session.verification().PosiDataCtShogo(true).result);
}

void frmMain::ShogoCtMenu() {
    tellIfBusy(m_session.verification().PosiDataCtShogo(false).result);
}

void frmMain::ShogoFileButton() {
    tellIfBusy(m_session.verification().PosiDataFileShogo(true).result);
}

void frmMain::ShogoFileMenu() {
    tellIfBusy(m_session.verification().PosiDataFileShogo(false).result);
}

// Print: which data, which printer, then the report.
void frmMain::PrintData() {
    tellIfBusy(m_session.printing().PrintData(printDialogs()));
}

void frmMain::ViewCtVersion() {
    tellIfBusy(m_session.modes().ViewCtVersion().result);
}

void frmMain::ShowInpOutp() {
    frmInputOutput window(m_session.ioMonitor(), this);
    window.exec();
}

void frmMain::ModeTrancefer() {
    tellIfBusy(m_session.modes().ModeTrancefer());
}

void frmMain::ModeGaibu() {
    tellIfBusy(m_session.modes().ModeGaibu());
}

// The position choice as it stands when the sequence starts; it is disabled while it runs.
void frmMain::SelectMove() {
    MoveChoice choice = MoveChoice::Position1;
    if (optPosiNo[1]->isChecked())
        choice = MoveChoice::Position2;
    else if (optPosiNo[2]->isChecked())
        choice = MoveChoice::Repeat;
    settleMove(m_session.moves().SelectMove(choice));
}

void frmMain::StopMove() {
    m_session.moves().StopMove();
}

void frmMain::HomeMove() {
    settleMove(m_session.moves().HomeMove());
}

void frmMain::ShowCycleTest() {
    frmCycleTest window(m_session.moves(), m_prompt, this);
    window.exec();
}

void frmMain::ResetController() {
    settleMove(m_session.moves().ResetController());
}

// A button or menu entry refused because another exchange still waits for its reply: nothing
// was sent, and the status bar says so for a few seconds instead of nothing happening.
void frmMain::tellIfBusy(const OpResult &result) {
    if (result.status == OpResult::Status::Busy)
        statusBar()->showMessage(ResText(1642), HintMs);
}

// A move, homing or reset that has ended, whichever way: the status bar no longer says where the
// feeder is moving to and shows the port again; one refused as busy says so instead.
void frmMain::settleMove(const OpResult &result) {
    if (result.status == OpResult::Status::Busy)
        tellIfBusy(result);
    else
        statusBar()->clearMessage();
}
