// Enabling and disabling as the window's modes say (the brackets around operations, the two modes,
// the parameter display), and the rotation-direction gate. Each part lists its controls.
#include "base/ResText.h"
#include "base/UserPrompt.h"
#include "gui/UpDown.h"
#include "gui/frmMain.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

namespace {

using Controls = std::initializer_list<QWidget *>;
using Entries = std::initializer_list<QAction *>;

void enable(Controls controls, bool on) {
    for (QWidget *w : controls)
        w->setEnabled(on);
}

void enable(Entries entries, bool on) {
    for (QAction *a : entries)
        a->setEnabled(on);
}

void setWeight(QWidget *w, bool bold) {
    QFont f = w->font();
    f.setBold(bold);
    w->setFont(f);
}

// A frame's caption weight; the controls inside keep their normal weight.
void setCaptionBold(QGroupBox *frame, bool bold) {
    for (QWidget *child : frame->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        setWeight(child, false);
    setWeight(frame, bold);
}

// The mode labels: the current mode's label enabled, bold, on the window background.
void showModeLabel(QLabel *label, bool current) {
    label->setEnabled(current);
    setWeight(label, current);
    label->setBackgroundRole(current ? QPalette::Base : QPalette::Button);
}

void setFieldColour(QLineEdit *field, int grey) {
    QPalette p = field->palette();
    p.setColor(QPalette::Base, QColor(grey, grey, grey));
    field->setPalette(p);
}

} // namespace

void frmMain::CMDBTN_Muko() {
    holdAndShow(WindowModes::Bracket::DataButtons, true);
}

void frmMain::CMDBTN_Yuko() {
    holdAndShow(WindowModes::Bracket::DataButtons, false);
}

void frmMain::Menyu_Muko() {
    holdAndShow(WindowModes::Bracket::FileMenu, true);
}

void frmMain::Menyu_Yuko() {
    holdAndShow(WindowModes::Bracket::FileMenu, false);
}

// Stop stays out of this bracket so that a running move can be stopped.
void frmMain::MoveCMDBTN_Muko() {
    holdAndShow(WindowModes::Bracket::Move, true);
}

void frmMain::MoveCMDBTN_Yuko() {
    holdAndShow(WindowModes::Bracket::Move, false);
}

void frmMain::holdAndShow(WindowModes::Bracket bracket, bool held) {
    m_modes.hold(bracket, held);
    showModes();
}

void frmMain::EnterEditMode() {
    m_modes.enter(WindowModes::Mode::Edit);
    showModes();
}

void frmMain::EnterMoveMode() {
    m_modes.enter(WindowModes::Mode::Move);
    showModes();
}

void frmMain::onModeChange() {
    m_modes.toggle();
    showModes();
}

// Each part of the window as the modes say, listed control by control.
void frmMain::showModes() {
    using enum WindowModes::Part;
    const bool edit = m_modes.inEditMode();
    showModeLabel(lblEditMode, edit);
    showModeLabel(lblMoveMode, !edit);
    setCaptionBold(frmMove, !edit);
    setCaptionBold(framPosiData, edit);
    enable(Controls{cmdModeChange}, m_modes.enabled(ModeButton));
    enable(Controls{cmdFileOpen, cmdSaveFile, cmdGetfromCt, cmdLoadtoCt, cmdShogoFile, cmdShogoCt},
           m_modes.enabled(DataButtons));
    enable(Entries{mnuFileNew, mnuFileOpen, mnuFileGetfromCt, mnuFileSave, mnuFileSaveAs,
                   mnuFileLoadtoCt, mnuFilePageSetup, mnuFilePrint},
           m_modes.enabled(FileMenu));
    enable(Entries{mnuFileShogo->menuAction(), mnuViewCtVersion, mnuShowInpOutp,
                   mnuModeChange->menuAction()},
           m_modes.enabled(EditMenus));
    enable(Controls{framPosiData,    framDousaPara,   lblPosi1,      lblPosi2,    comboVEL1,
                    comboVEL2,       lblPosi1Acc,     lblPosi2Acc,   UpDown1,     UpDown2,
                    lblPosi1Gensoku, lblPosi2Gensoku, UpDownP1Gen,   UpDownP2Gen, txtPosi1,
                    txtPosi2,        txtPosi1Timer,   txtPosi2Timer, lblVel,      lblAcc,
                    lblGensoku,      lblPosition,     lblTimer},
           m_modes.enabled(PositionData));
    enable(Controls{frmMove, optPosiNo[0], optPosiNo[1], optPosiNo[2], cmdStop, lblKanryoiti,
                    lblKanryoNo},
           m_modes.enabled(MoveFrame));
    enable(Controls{framSelectPosi, cmdSelectMove, cmdHome, cmdCycleTest},
           m_modes.enabled(MoveButtons));
    framParameta->setEnabled(m_modes.enabled(SensorFrame));
    enable(Controls{txtSentanCount, lblSentanCount, txtNoWorkCount, lblNoWorkCount, txtRestartDelay,
                    lblRestartDelay, txtLowKaijoCnt, lblLowKaijoCnt, txtXXXCnt, lblXXXCnt,
                    txtHensu1, lblHensu1},
           m_modes.enabled(SensorFields));
    framHomePara->setEnabled(m_modes.enabled(HomingFrame));
    enable(Controls{txtHomeSokudo, lblHomeSokudo, txtHomePosi, lblHomePosi, txtOffsetSokudo,
                    lblOffsetSokudo, txtOffsetPosi, lblOffsetPosi},
           m_modes.enabled(HomingFields));
}

void frmMain::HomePara_Yuko() {
    setHomingFields(true);
}

void frmMain::HomePara_Muko() {
    setHomingFields(false);
}

// The homing fields on or off, white or grey.
void frmMain::setHomingFields(bool editable) {
    m_modes.setHomingFields(editable);
    showModes();
    for (QLineEdit *field : {txtHomeSokudo, txtHomePosi, txtOffsetSokudo, txtOffsetPosi})
        setFieldColour(field, editable ? 255 : 224);
}

// The rotation direction can be changed only after the warning has been accepted.
void frmMain::onChangeDirect(bool checked) {
    bool open = false;
    if (checked) {
        open = m_prompt.confirmReverseRotation();
        if (!open) {
            const QSignalBlocker quiet(chkChangeDirect);
            chkChangeDirect->setChecked(false);
        }
    }
    framChangeDirect->setEnabled(open);
    chkRevDir->setEnabled(open);
}
