// The editing fields and the working copy: taking the fields in, showing the copy, the blank and
// range checks, the change flag and the key and focus-loss checks of each typed field.
#include "base/ResText.h"
#include "base/UserPrompt.h"
#include "data/FieldNumber.h"
#include "data/QvData.h"
#include "data/RangeCheck.h"
#include "gui/FieldFilter.h"
#include "gui/UpDown.h"
#include "gui/frmMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace {

const QString CrLf = QStringLiteral("\r\n");

bool take(const QString &text, qint16 &item) {
    const auto v = FieldNumber::take16(text);
    if (v)
        item = *v;
    return v.has_value();
}

bool take(const QString &text, qint32 &item) {
    const auto v = FieldNumber::take32(text);
    if (v)
        item = *v;
    return v.has_value();
}

} // namespace

bool frmMain::ParametersActive() const {
    return m_showParameters && framParameta->isEnabled();
}

void frmMain::setComboText(QComboBox *combo, const QString &text) {
    combo->setEditText(text);
    onFieldChanged();
}

void frmMain::setValueLabel(QLabel *label, const QString &text) {
    label->setText(text);
    onFieldChanged();
}

qint16 frmMain::Torikomi_Data() {
    QvData &d = m_copies.working;
    const bool ok =
        take(comboVEL1->currentText(), d.Vel1) && take(comboVEL2->currentText(), d.Vel2) &&
        take(lblPosi1Acc->text(), d.Acc1) && take(lblPosi2Acc->text(), d.Acc2) &&
        take(lblPosi1Gensoku->text(), d.Dec1) && take(lblPosi2Gensoku->text(), d.Dec2) &&
        take(txtPosi1->text(), d.Pulse1) && take(txtPosi2->text(), d.Pulse2) &&
        take(txtPosi1Timer->text(), d.PauseTime1) && take(txtPosi2Timer->text(), d.PauseTime2) &&
        (!ParametersActive() ||
         (take(txtHomeSokudo->text(), d.HomingVel) && take(txtHomePosi->text(), d.HomingPulse) &&
          take(txtOffsetSokudo->text(), d.OffsetVel) &&
          take(txtOffsetPosi->text(), d.OffsetPulse) &&
          take(txtSentanCount->text(), d.SupplyCounter) &&
          take(txtNoWorkCount->text(), d.NoWorkCounter) &&
          take(txtRestartDelay->text(), d.RestartDelay) &&
          take(txtLowKaijoCnt->text(), d.SeparateTimer) &&
          take(txtXXXCnt->text(), d.MidDetectCounter) &&
          take(txtHensu1->text(), d.TipWorkOffTimer) && take(txtHensu2->text(), d.Sp1)));
    if (!ok) {
        m_prompt.MsgBox(ResText(241) + CrLf + ResText(242), MsgButtons::OkOnly, MsgIcon::None);
        return 1;
    }
    if (ParametersActive())
        d.RevDir = chkRevDir->isChecked() ? 1 : 0;
    return 0;
}

void frmMain::ShowQvData() {
    const QvData &d = m_copies.working;
    const auto number = [](qint64 v) { return QString::number(v); };
    setComboText(comboVEL1, number(d.Vel1));
    setValueLabel(lblPosi1Acc, number(d.Acc1));
    setValueLabel(lblPosi1Gensoku, number(d.Dec1));
    txtPosi1->setText(number(d.Pulse1));
    txtPosi1Timer->setText(number(d.PauseTime1));
    setComboText(comboVEL2, number(d.Vel2));
    setValueLabel(lblPosi2Acc, number(d.Acc2));
    setValueLabel(lblPosi2Gensoku, number(d.Dec2));
    txtPosi2->setText(number(d.Pulse2));
    txtPosi2Timer->setText(number(d.PauseTime2));
    if (ParametersActive()) {
        txtHomeSokudo->setText(number(d.HomingVel));
        txtHomePosi->setText(number(d.HomingPulse));
        txtOffsetSokudo->setText(number(d.OffsetVel));
        txtOffsetPosi->setText(number(d.OffsetPulse));
        chkRevDir->setChecked(d.RevDir == 1);
        txtSentanCount->setText(number(d.SupplyCounter));
        txtNoWorkCount->setText(number(d.NoWorkCounter));
        txtRestartDelay->setText(number(d.RestartDelay));
        txtLowKaijoCnt->setText(number(d.SeparateTimer));
        txtXXXCnt->setText(number(d.MidDetectCounter));
        txtHensu1->setText(number(d.TipWorkOffTimer));
        txtHensu2->setText(number(d.Sp1));
    }
    // Filling the fields has set the change flag; the screen now shows the copy as it is.
    m_dataChanged = false;
}

void frmMain::ClearFieldsForNew() {
    setComboText(comboVEL1, QStringLiteral("1"));
    setComboText(comboVEL2, QStringLiteral("1"));
    for (QLabel *label : {lblPosi1Acc, lblPosi2Acc, lblPosi1Gensoku, lblPosi2Gensoku})
        setValueLabel(label, QStringLiteral("1"));
    for (QLineEdit *field : {txtPosi1, txtPosi2, txtPosi1Timer, txtPosi2Timer})
        field->clear();
    if (!ParametersActive())
        return;
    for (QLineEdit *field :
         {txtHomeSokudo, txtHomePosi, txtOffsetSokudo, txtOffsetPosi, txtSentanCount,
          txtNoWorkCount, txtRestartDelay, txtLowKaijoCnt, txtXXXCnt, txtHensu1, txtHensu2})
        field->clear();
    chkRevDir->setChecked(false);
}

qint16 frmMain::Check_DataUmu() {
    QStringList texts = {comboVEL1->currentText(), comboVEL2->currentText(), lblPosi1Acc->text(),
                         lblPosi2Acc->text(),      txtPosi1->text(),         txtPosi2->text(),
                         lblPosi1Gensoku->text(),  lblPosi2Gensoku->text(),  txtPosi1Timer->text(),
                         txtPosi2Timer->text()};
    if (ParametersActive())
        for (const QLineEdit *field :
             {txtHomeSokudo, txtHomePosi, txtOffsetSokudo, txtOffsetPosi, txtSentanCount,
              txtNoWorkCount, txtRestartDelay, txtLowKaijoCnt, txtXXXCnt, txtHensu1, txtHensu2})
            texts << field->text();
    for (const QString &text : std::as_const(texts)) {
        if (text.isEmpty()) {
            m_prompt.MsgBox(ResText(239) + CrLf + ResText(240), MsgButtons::OkOnly, MsgIcon::None);
            return 1;
        }
    }
    return 0;
}

qint16 frmMain::Check_DataRange() {
    return RangeCheck::Check_DataRange(m_copies.working, ParametersActive(), m_prompt);
}

qint16 frmMain::ScreenCheck() {
    if (Check_DataUmu() != 0 || Torikomi_Data() != 0 || Check_DataRange() != 0)
        return 1;
    return 0;
}

void frmMain::connectFieldChecks() {
    using Rule = FieldFilter::Rule;
    const KeyRule vel{2, true}, two{2, false}, three{3, false};
    const auto to = [](QWidget *target) { return [target] { return target; }; };
    m_filter->attach(comboVEL1, Rule{vel, 0, 30, to(UpDown1)});
    m_filter->attach(txtPosi1Timer, Rule{three, 0, 255, to(comboVEL2)});
    m_filter->attach(txtPosi1, Rule{three, 0, 400, to(txtPosi2)});
    m_filter->attach(comboVEL2, Rule{vel, 0, 30, to(UpDown2)});
    m_filter->attach(txtPosi2Timer, Rule{three, 0, 255, to(txtPosi1)});
    m_filter->attach(txtPosi2, Rule{three, 0, 400, [this]() -> QWidget * {
                                        return m_showParameters
                                                   ? static_cast<QWidget *>(txtLowKaijoCnt)
                                                   : comboVEL1;
                                    }});
    m_filter->attach(txtLowKaijoCnt, Rule{three, 1, 255, to(txtSentanCount)});
    m_filter->attach(txtSentanCount, Rule{three, 1, 255, to(txtRestartDelay)});
    m_filter->attach(txtRestartDelay, Rule{three, 1, 255, to(txtXXXCnt)});
    m_filter->attach(txtXXXCnt, Rule{three, 1, 255, to(txtNoWorkCount)});
    m_filter->attach(txtNoWorkCount, Rule{three, 1, 255, to(txtHensu1)});
    m_filter->attach(txtHensu1, Rule{three, 1, 255, [this]() -> QWidget * {
                                         return framHomePara->isEnabled()
                                                    ? static_cast<QWidget *>(txtHomeSokudo)
                                                    : comboVEL1;
                                     }});
    m_filter->attach(txtHomeSokudo, Rule{two, 1, 16, to(txtHomePosi)});
    m_filter->attach(txtHomePosi, Rule{three, 1, 600, to(txtOffsetSokudo)});
    m_filter->attach(txtOffsetSokudo, Rule{two, 1, 16, to(txtOffsetPosi)});
    m_filter->attach(txtOffsetPosi, Rule{three, 1, 100, to(comboVEL1)});

    // The change flag: every field but chkRevDir. A VEL list counts typing, the program setting
    // its text (setComboText) and a value chosen by the user from its drop-down, the arrow keys
    // or the wheel (activated).
    for (QLineEdit *field : {txtPosi1, txtPosi2, txtPosi1Timer, txtPosi2Timer, txtLowKaijoCnt,
                             txtSentanCount, txtRestartDelay, txtXXXCnt, txtNoWorkCount, txtHensu1,
                             txtHensu2, txtHomeSokudo, txtHomePosi, txtOffsetSokudo, txtOffsetPosi})
        connect(field, &QLineEdit::textChanged, this, &frmMain::onFieldChanged);
    for (QComboBox *combo : {comboVEL1, comboVEL2}) {
        connect(combo->lineEdit(), &QLineEdit::textEdited, this, &frmMain::onFieldChanged);
        connect(combo, &QComboBox::activated, this, &frmMain::onFieldChanged);
    }
    connect(m_filter, &FieldFilter::emptied, this, &frmMain::onFieldChanged);
    for (UpDown *spin : {UpDown1, UpDown2, UpDownP1Gen, UpDownP2Gen})
        connect(spin, &UpDown::stepped, this, &frmMain::onFieldChanged);
}
