// The operations the main window's buttons and menus start, each handed to the session's logic.
#include "gui/frmMain.h"

#include "data/ControllerTransfer.h"
#include "data/FileOperations.h"
#include "data/Verification.h"
#include "gui/frmCycleTest.h"
#include "gui/frmInputOutput.h"
#include "ops/ControllerModes.h"
#include "ops/MoveOperations.h"
#include "print/PrintOperation.h"

#include <QRadioButton>

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
    returnFocus(nullptr);
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

// Print: which data, which printer, then the report.
void frmMain::PrintData() {
    m_session.printing().PrintData(printDialogs());
}

void frmMain::ViewCtVersion() {
    m_session.modes().ViewCtVersion();
}

void frmMain::ShowInpOutp() {
    frmInputOutput window(m_session.ioMonitor(), this);
    window.exec();
}

void frmMain::ModeTrancefer() {
    m_session.modes().ModeTrancefer();
}

void frmMain::ModeGaibu() {
    m_session.modes().ModeGaibu();
}

// The position choice as it stands when the sequence starts; it is disabled while it runs.
void frmMain::SelectMove() {
    MoveChoice choice = MoveChoice::Position1;
    if (optPosiNo[1]->isChecked())
        choice = MoveChoice::Position2;
    else if (optPosiNo[2]->isChecked())
        choice = MoveChoice::Repeat;
    m_session.moves().SelectMove(choice);
}

void frmMain::StopMove() {
    m_session.moves().StopMove();
}

void frmMain::HomeMove() {
    m_session.moves().HomeMove();
}

void frmMain::ShowCycleTest() {
    frmCycleTest window(m_session.moves(), m_prompt, this);
    window.exec();
}

void frmMain::ResetController() {
    m_session.moves().ResetController();
}
