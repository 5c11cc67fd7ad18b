// Building the two parameter frames: the sensor parameters with the rotation-direction gate, and
// the homing parameters. Both are hidden until the parameter display is switched on.
#include "gui/FormBuild.h"
#include "gui/LocaliseForm.h"
#include "gui/frmMain.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

QLineEdit *parameterField(const char *name, QWidget *parent, int toolTipId) {
    auto *field = named<QLineEdit>(name, parent);
    setToolTipId(field, toolTipId);
    field->setFixedWidth(52);
    field->setAlignment(Qt::AlignRight);
    return field;
}

QGridLayout *compactGrid(QWidget *frame) {
    auto *grid = new QGridLayout(frame);
    grid->setContentsMargins(6, 2, 6, 4);
    grid->setVerticalSpacing(2);
    grid->setHorizontalSpacing(6);
    return grid;
}

// One parameter: its label and its field, with their names.
struct Parameter {
    QLabel *&label;
    const char *labelName;
    QLineEdit *&field;
    const char *fieldName;
};

// The frame's parameters in columns of four rows, a label and a field each: the n-th label has
// caption textId + n and tip labelTip + n, its field tip fieldTip + n.
void addParameters(QGridLayout *grid, std::initializer_list<Parameter> parameters, int textId,
                   int labelTip, int fieldTip) {
    QWidget *frame = grid->parentWidget();
    int n = 0;
    for (const Parameter &p : parameters) {
        p.label = tagged<QLabel>(p.labelName, frame, textId + n, labelTip + n);
        p.field = parameterField(p.fieldName, frame, fieldTip + n);
        grid->addWidget(p.label, n % 4, n / 4 * 3);
        grid->addWidget(p.field, n % 4, n / 4 * 3 + 1);
        ++n;
    }
}

} // namespace

QWidget *frmMain::buildSensorFrame() {
    framParameta = tagged<QGroupBox>("framParameta", this, 36);
    QWidget *f = framParameta;
    auto *grid = compactGrid(framParameta);
    addParameters(grid,
                  {{lblLowKaijoCnt, "lblLowKaijoCnt", txtLowKaijoCnt, "txtLowKaijoCnt"},
                   {lblSentanCount, "lblSentanCount", txtSentanCount, "txtSentanCount"},
                   {lblRestartDelay, "lblRestartDelay", txtRestartDelay, "txtRestartDelay"},
                   {lblXXXCnt, "lblXXXCnt", txtXXXCnt, "txtXXXCnt"},
                   {lblNoWorkCount, "lblNoWorkCount", txtNoWorkCount, "txtNoWorkCount"},
                   {lblHensu1, "lblHensu1", txtHensu1, "txtHensu1"},
                   {lblHensu2, "lblHensu2", txtHensu2, "txtHensu2"}},
                  37, 70, 81);

    chkChangeDirect = tagged<QCheckBox>("chkChangeDirect", f, 465);
    framChangeDirect = named<QGroupBox>("framChangeDirect", f);
    chkRevDir = tagged<QCheckBox>("chkRevDir", framChangeDirect, 243);
    framChangeDirect->setEnabled(false);
    chkRevDir->setEnabled(false);
    auto *gate = new QVBoxLayout(framChangeDirect);
    gate->setContentsMargins(6, 2, 6, 2);
    gate->addWidget(chkRevDir);

    grid->setColumnMinimumWidth(2, 12);
    grid->setColumnMinimumWidth(5, 12);
    // The rotation-direction gate in a column of its own: the check box that opens it above the
    // frame it opens.
    grid->addWidget(chkChangeDirect, 0, 6, 2, 1, Qt::AlignBottom);
    grid->addWidget(framChangeDirect, 2, 6, 2, 1, Qt::AlignTop);
    grid->setColumnStretch(7, 1);

    framParameta->setEnabled(false);
    framParameta->hide();
    return framParameta;
}

QWidget *frmMain::buildHomingFrame() {
    framHomePara = tagged<QGroupBox>("framHomePara", this, 44);
    auto *grid = compactGrid(framHomePara);
    addParameters(grid,
                  {{lblHomeSokudo, "lblHomeSokudo", txtHomeSokudo, "txtHomeSokudo"},
                   {lblHomePosi, "lblHomePosi", txtHomePosi, "txtHomePosi"},
                   {lblOffsetSokudo, "lblOffsetSokudo", txtOffsetSokudo, "txtOffsetSokudo"},
                   {lblOffsetPosi, "lblOffsetPosi", txtOffsetPosi, "txtOffsetPosi"}},
                  45, 77, 88);
    grid->setColumnStretch(2, 1);

    framHomePara->setEnabled(false);
    framHomePara->hide();
    return framHomePara;
}
