// The editing fields and the working copy: taking the fields in, showing the copy, the blank and
// range checks, the change flag and the key and focus-loss checks of each typed field.
#include "base/MessageLines.h"
#include "base/ResText.h"
#include "base/UserPrompt.h"
#include "data/QvData.h"
#include "data/RangeCheck.h"
#include "data/Verification.h"
#include "gui/FieldBinding.h"
#include "gui/FieldFilter.h"
#include "gui/UpDown.h"
#include "gui/frmMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QStatusBar>
#include <functional>
#include <vector>

namespace {

// The fields in use: the positions always, the parameters while their frames are active.
// (A plain list: clang's standard library views do not build with libstdc++ 12.)
std::vector<std::reference_wrapper<const FieldBinding>>
inUse(const std::vector<FieldBinding> &fields, bool parametersActive) {
    std::vector<std::reference_wrapper<const FieldBinding>> used;
    for (const FieldBinding &f : fields) {
        if (parametersActive || !f.item.isParameter())
            used.emplace_back(f);
    }
    return used;
}

} // namespace

bool frmMain::ParametersActive() const {
    return m_modes.parametersActive();
}

bool frmMain::Torikomi_Data() {
    QvData &d = m_copies.working;
    const bool parameters = ParametersActive();
    // In the table's order: a field that does not fit leaves the fields before it taken.
    for (const FieldBinding &f : inUse(m_fields, parameters)) {
        if (!f.takeInto(d)) {
            m_prompt.MsgBox(ResText(241) + CrLf + ResText(242), MsgButtons::OkOnly, MsgIcon::None);
            return false;
        }
    }
    if (parameters)
        d.RevDir = chkRevDir->isChecked() ? 1 : 0;
    return true;
}

void frmMain::ShowQvData() {
    const QvData &d = m_copies.working;
    const bool parameters = ParametersActive();
    for (const FieldBinding &f : inUse(m_fields, parameters))
        f.show(QString::number(f.item.get(d)));
    if (parameters)
        chkRevDir->setChecked(d.RevDir == 1);
    // Filling the fields has set the change flag; the screen now shows the copy as it is.
    m_dataChanged = false;
}

void frmMain::ClearFieldsForNew() {
    const bool parameters = ParametersActive();
    for (const FieldBinding &f : inUse(m_fields, parameters))
        f.clear();
    if (parameters)
        chkRevDir->setChecked(false);
    // Clearing is a change of the fields, as typing is.
    onFieldChanged();
}

bool frmMain::Check_DataUmu() {
    for (const FieldBinding &f : inUse(m_fields, ParametersActive())) {
        if (f.text().isEmpty()) {
            m_prompt.MsgBox(ResText(239) + CrLf + ResText(240), MsgButtons::OkOnly, MsgIcon::None);
            return false;
        }
    }
    return true;
}

bool frmMain::Check_DataRange() {
    return RangeCheck::Check_DataRange(m_copies.working, ParametersActive(), m_prompt);
}

bool frmMain::ScreenCheck() {
    return Check_DataUmu() && Torikomi_Data() && Check_DataRange();
}

// The table of the editing fields, in the order the fields are taken into the working copy.
void frmMain::bindFields() {
    using D = QvData;
    const auto to = [](QWidget *target) { return [target] { return target; }; };
    // Enter moves on into a parameter frame only while it is open, else back to the first field.
    const auto intoFrame = [this](auto open, QWidget *target) {
        return [this, open, target] { return open() ? target : comboVEL1; };
    };
    m_fields = std::vector<FieldBinding>{
        {qvItem(&D::Vel1), comboVEL1, to(UpDown1)},
        {qvItem(&D::Vel2), comboVEL2, to(UpDown2)},
        {qvItem(&D::Acc1), UpDown1},
        {qvItem(&D::Acc2), UpDown2},
        {qvItem(&D::Dec1), UpDownP1Gen},
        {qvItem(&D::Dec2), UpDownP2Gen},
        {qvItem(&D::Pulse1), txtPosi1, to(txtPosi2)},
        {qvItem(&D::Pulse2), txtPosi2,
         intoFrame([this] { return m_modes.showParameters(); }, txtLowKaijoCnt)},
        {qvItem(&D::PauseTime1), txtPosi1Timer, to(comboVEL2)},
        {qvItem(&D::PauseTime2), txtPosi2Timer, to(txtPosi1)},
        {qvItem(&D::HomingVel), txtHomeSokudo, to(txtHomePosi)},
        {qvItem(&D::HomingPulse), txtHomePosi, to(txtOffsetSokudo)},
        {qvItem(&D::OffsetVel), txtOffsetSokudo, to(txtOffsetPosi)},
        {qvItem(&D::OffsetPulse), txtOffsetPosi, to(comboVEL1)},
        {qvItem(&D::SupplyCounter), txtSentanCount, to(txtRestartDelay)},
        {qvItem(&D::NoWorkCounter), txtNoWorkCount, to(txtHensu1)},
        {qvItem(&D::RestartDelay), txtRestartDelay, to(txtXXXCnt)},
        {qvItem(&D::SeparateTimer), txtLowKaijoCnt, to(txtSentanCount)},
        {qvItem(&D::MidDetectCounter), txtXXXCnt, to(txtNoWorkCount)},
        {qvItem(&D::TipWorkOffTimer), txtHensu1,
         intoFrame([this] { return framHomePara->isEnabled(); }, txtHomeSokudo)},
        {qvItem(&D::Sp1), txtHensu2},
    };
}

void frmMain::connectFieldChecks() {
    bindFields();
    for (const FieldBinding &f : m_fields) {
        if (f.typed())
            m_filter->attach(f.field, f.rule());
        // The change flag: every field but chkRevDir. The program setting a VEL list or an ACC
        // or DEC value counts too (ShowQvData, ClearFieldsForNew).
        f.onChange(this, [this] { onFieldChanged(); });
    }
    connect(m_filter, &FieldFilter::emptied, this, &frmMain::onFieldChanged);
    connect(m_filter, &FieldFilter::emptied, this,
            [this](QWidget *field) { showFieldHint(field, 1560); });
    connect(m_filter, &FieldFilter::refused, this,
            [this](QWidget *field) { showFieldHint(field, 1561); });
}

void frmMain::showFieldHint(QWidget *field, int textId) {
    for (const FieldBinding &f : m_fields) {
        if (f.field != field || !f.typed())
            continue;
        // The range the field's tool tip states: where the field is left with a value, within
        // what its item takes.
        statusBar()->showMessage(ResText(textId)
                                     .arg(ItemLabel(f.item))
                                     .arg(qMax(f.item.typing.low, f.item.low))
                                     .arg(qMin(f.item.typing.high, f.item.high)),
                                 HintMs);
        return;
    }
}
