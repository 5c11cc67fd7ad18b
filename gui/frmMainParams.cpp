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

using FieldRows = QList<std::pair<QLabel *, QLineEdit *>>;

// Label and field pairs one under the other, from the top, in two columns of the grid.
void addRows(QGridLayout *grid, const FieldRows &rows, int column) {
    for (int row = 0; row < rows.size(); ++row) {
        grid->addWidget(rows[row].first, row, column);
        grid->addWidget(rows[row].second, row, column + 1);
    }
}

} // namespace

QWidget *frmMain::buildSensorFrame() {
    framParameta = named<QGroupBox>("framParameta", this);
    setTagId(framParameta, 36);
    QWidget *f = framParameta;
    lblLowKaijoCnt = tagged<QLabel>("lblLowKaijoCnt", f, 37, 70);
    lblSentanCount = tagged<QLabel>("lblSentanCount", f, 38, 71);
    lblRestartDelay = tagged<QLabel>("lblRestartDelay", f, 39, 72);
    lblXXXCnt = tagged<QLabel>("lblXXXCnt", f, 40, 73);
    lblNoWorkCount = tagged<QLabel>("lblNoWorkCount", f, 41, 74);
    lblHensu1 = tagged<QLabel>("lblHensu1", f, 42, 75);
    lblHensu2 = tagged<QLabel>("lblHensu2", f, 43, 76);

    txtLowKaijoCnt = parameterField("txtLowKaijoCnt", f, 81);
    txtSentanCount = parameterField("txtSentanCount", f, 82);
    txtRestartDelay = parameterField("txtRestartDelay", f, 83);
    txtXXXCnt = parameterField("txtXXXCnt", f, 84);
    txtNoWorkCount = parameterField("txtNoWorkCount", f, 85);
    txtHensu1 = parameterField("txtHensu1", f, 86);
    txtHensu2 = parameterField("txtHensu2", f, 87);

    chkChangeDirect = named<QCheckBox>("chkChangeDirect", f);
    setTagId(chkChangeDirect, 465);
    framChangeDirect = named<QGroupBox>("framChangeDirect", f);
    chkRevDir = named<QCheckBox>("chkRevDir", framChangeDirect);
    setTagId(chkRevDir, 243);
    framChangeDirect->setEnabled(false);
    chkRevDir->setEnabled(false);
    auto *gate = new QVBoxLayout(framChangeDirect);
    gate->setContentsMargins(6, 2, 6, 2);
    gate->addWidget(chkRevDir);

    auto *grid = compactGrid(framParameta);
    addRows(grid,
            {{lblLowKaijoCnt, txtLowKaijoCnt},
             {lblSentanCount, txtSentanCount},
             {lblRestartDelay, txtRestartDelay},
             {lblXXXCnt, txtXXXCnt}},
            0);
    addRows(grid,
            {{lblNoWorkCount, txtNoWorkCount}, {lblHensu1, txtHensu1}, {lblHensu2, txtHensu2}}, 3);
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
    framHomePara = named<QGroupBox>("framHomePara", this);
    setTagId(framHomePara, 44);
    QWidget *f = framHomePara;
    lblHomeSokudo = tagged<QLabel>("lblHomeSokudo", f, 45, 77);
    lblHomePosi = tagged<QLabel>("lblHomePosi", f, 46, 78);
    lblOffsetSokudo = tagged<QLabel>("lblOffsetSokudo", f, 47, 79);
    lblOffsetPosi = tagged<QLabel>("lblOffsetPosi", f, 48, 80);
    txtHomeSokudo = parameterField("txtHomeSokudo", f, 88);
    txtHomePosi = parameterField("txtHomePosi", f, 89);
    txtOffsetSokudo = parameterField("txtOffsetSokudo", f, 90);
    txtOffsetPosi = parameterField("txtOffsetPosi", f, 91);

    auto *grid = compactGrid(framHomePara);
    addRows(grid,
            {{lblHomeSokudo, txtHomeSokudo},
             {lblHomePosi, txtHomePosi},
             {lblOffsetSokudo, txtOffsetSokudo},
             {lblOffsetPosi, txtOffsetPosi}},
            0);
    grid->setColumnStretch(2, 1);

    framHomePara->setEnabled(false);
    framHomePara->hide();
    return framHomePara;
}
