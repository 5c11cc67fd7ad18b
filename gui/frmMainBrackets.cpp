// Enabling and disabling: the brackets around operations, the two modes, the homing parameters
// and the rotation-direction gate. Each lists its controls explicitly.
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
    enable(Controls{cmdFileOpen, cmdSaveFile, cmdLoadtoCt, cmdGetfromCt, cmdShogoCt, cmdShogoFile,
                    cmdModeChange},
           false);
}

void frmMain::CMDBTN_Yuko() {
    enable(Controls{cmdFileOpen, cmdSaveFile, cmdLoadtoCt, cmdGetfromCt, cmdShogoCt, cmdShogoFile,
                    cmdModeChange},
           true);
}

void frmMain::Menyu_Muko() {
    enable(Entries{mnuFileNew, mnuFileOpen, mnuFileGetfromCt, mnuFileSave, mnuFileSaveAs,
                   mnuFileLoadtoCt, mnuFilePageSetup, mnuFilePrint},
           false);
}

void frmMain::Menyu_Yuko() {
    enable(Entries{mnuFileNew, mnuFileOpen, mnuFileGetfromCt, mnuFileSave, mnuFileSaveAs,
                   mnuFileLoadtoCt, mnuFilePageSetup, mnuFilePrint},
           true);
}

// cmdStop stays out of this bracket so that a running move can be stopped.
void frmMain::MoveCMDBTN_Muko() {
    enable(Controls{cmdHome, cmdSelectMove, cmdModeChange, framSelectPosi, cmdCycleTest}, false);
}

void frmMain::MoveCMDBTN_Yuko() {
    enable(Controls{cmdHome, cmdSelectMove, cmdModeChange, framSelectPosi, cmdCycleTest}, true);
}

bool frmMain::inEditMode() const {
    return lblEditMode->isEnabled();
}

void frmMain::showModeLook(bool editMode) {
    showModeLabel(lblEditMode, editMode);
    showModeLabel(lblMoveMode, !editMode);
    setCaptionBold(frmMove, !editMode);
    setCaptionBold(framPosiData, editMode);
}

void frmMain::EnterEditMode() {
    switchMode(true);
}

void frmMain::EnterMoveMode() {
    switchMode(false);
}

void frmMain::switchMode(bool edit) {
    showModeLook(edit);
    frmMove->setEnabled(!edit);
    enable(Controls{framSelectPosi, optPosiNo[0], optPosiNo[1], optPosiNo[2], cmdSelectMove,
                    cmdStop, cmdHome, cmdCycleTest, lblKanryoiti, lblKanryoNo},
           !edit);
    framPosiData->setEnabled(edit);
    enable(Controls{framDousaPara,   lblPosi1,      lblPosi2,    comboVEL1, comboVEL2,
                    lblPosi1Acc,     lblPosi2Acc,   UpDown1,     UpDown2,   lblPosi1Gensoku,
                    lblPosi2Gensoku, UpDownP1Gen,   UpDownP2Gen, txtPosi1,  txtPosi2,
                    txtPosi1Timer,   txtPosi2Timer, lblVel,      lblAcc,    lblGensoku,
                    lblPosition,     lblTimer},
           edit);
    enable(Controls{cmdFileOpen, cmdSaveFile, cmdGetfromCt, cmdLoadtoCt, cmdShogoFile, cmdShogoCt},
           edit);
    enable(Entries{mnuFileNew, mnuFileOpen, mnuFileGetfromCt, mnuFileSave, mnuFileSaveAs,
                   mnuFileLoadtoCt, mnuFileShogo->menuAction(), mnuFilePageSetup, mnuFilePrint,
                   mnuViewCtVersion, mnuShowInpOutp, mnuModeChange->menuAction()},
           edit);
    if (!m_showParameters)
        return;
    setSensorFields(edit);
    // The homing parameters come back only when they may be edited.
    if (!edit || m_homeParamsEditable)
        enable(Controls{framHomePara, txtHomeSokudo, lblHomeSokudo, txtHomePosi, lblHomePosi,
                        txtOffsetSokudo, lblOffsetSokudo, txtOffsetPosi, lblOffsetPosi},
               edit);
}

void frmMain::setSensorFields(bool enabled) {
    enable(Controls{framParameta, txtSentanCount, lblSentanCount, txtNoWorkCount, lblNoWorkCount,
                    txtRestartDelay, lblRestartDelay, txtLowKaijoCnt, lblLowKaijoCnt, txtXXXCnt,
                    lblXXXCnt, txtHensu1, lblHensu1},
           enabled);
}

void frmMain::onModeChange() {
    if (inEditMode())
        EnterMoveMode();
    else
        EnterEditMode();
}

void frmMain::HomePara_Yuko() {
    setHomingFields(true);
}

void frmMain::HomePara_Muko() {
    setHomingFields(false);
}

void frmMain::setHomingFields(bool editable) {
    framHomePara->setEnabled(editable);
    const std::pair<QLabel *, QLineEdit *> pairs[] = {{lblHomeSokudo, txtHomeSokudo},
                                                      {lblHomePosi, txtHomePosi},
                                                      {lblOffsetSokudo, txtOffsetSokudo},
                                                      {lblOffsetPosi, txtOffsetPosi}};
    for (auto [label, field] : pairs) {
        label->setEnabled(editable);
        field->setEnabled(editable);
        setFieldColour(field, editable ? 255 : 224);
    }
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
