#include "gui/frmCycleTest.h"

#include "base/ResText.h"
#include "base/UserPrompt.h"
#include "gui/CycleTimesChart.h"
#include "gui/FormBuild.h"
#include "gui/Twips.h"
#include "gui/UiFont.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <iterator>

namespace {

constexpr int DefaultCount = 20;
constexpr int MaxCount = 99999;
// The summary's headings: position, moves, min, median, 95 %, max, alarms.
constexpr int SummaryHeads[] = {1807, 1808, 1809, 1810, 1811, 1812, 1813};

QString ms(double value) {
    return QString::number(value, 'f', 1);
}

} // namespace

frmCycleTest::frmCycleTest(MoveOperations &moves, UserPrompt &prompt, QWidget *mainWindow)
    : QDialog(mainWindow), m_test(moves), m_prompt(prompt), m_mainWindow(mainWindow) {
    setObjectName(QStringLiteral("frmCycleTest"));
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFont(uiFont());
    build();
    connect(cmdStart, &QPushButton::clicked, this, &frmCycleTest::onStart);
    connect(cmdStop, &QPushButton::clicked, &m_test, &CycleTest::stop);
    connect(cmdSaveCsv, &QPushButton::clicked, this, &frmCycleTest::onSaveCsv);
    connect(cmdClose, &QPushButton::clicked, this, &frmCycleTest::close);
    connect(chkUntilStop, &QCheckBox::toggled, spnCount, &QWidget::setDisabled);
    connect(&m_test, &CycleTest::measured, this, &frmCycleTest::showMeasured);
    setTagId(this, 1801);
    LocaliseForm(this);
    showRunning(false);
    adjustSize();
    Twips::placeBesideMain(this, m_mainWindow);
}

void frmCycleTest::build() {
    auto *lblCount = tagged<QLabel>("lblCount", this, 1803);
    spnCount = named<QSpinBox>("spnCount", this);
    spnCount->setRange(1, MaxCount);
    spnCount->setValue(DefaultCount);
    lblCount->setBuddy(spnCount);
    chkUntilStop = tagged<QCheckBox>("chkUntilStop", this, 1804);
    cmdStart = tagged<QPushButton>("cmdStart", this, 1805);
    cmdStop = tagged<QPushButton>("cmdStop", this, 10);
    // Stop is pressed while the start button is still held down by the test: no default button
    // may take Enter from it.
    for (QPushButton *b : {cmdStart, cmdStop})
        b->setAutoDefault(false);
    auto *controls = new QHBoxLayout;
    controls->addWidget(lblCount);
    controls->addWidget(spnCount);
    controls->addWidget(chkUntilStop);
    controls->addStretch();
    controls->addWidget(cmdStart);
    controls->addWidget(cmdStop);

    chartTimes = new CycleTimesChart(m_test, this);
    chartTimes->setObjectName(QStringLiteral("chartTimes"));
    lblCycleStatus = named<QLabel>("lblCycleStatus", this);

    tblSummary = named<QTableWidget>("tblSummary", this, 0, int(std::size(SummaryHeads)));
    QStringList heads;
    for (int id : SummaryHeads)
        heads.append(ResText(id));
    tblSummary->setHorizontalHeaderLabels(heads);
    tblSummary->verticalHeader()->hide();
    tblSummary->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblSummary->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    tblSummary->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tblSummary->setFixedHeight(tblSummary->horizontalHeader()->sizeHint().height() +
                               3 * tblSummary->verticalHeader()->defaultSectionSize());

    cmdSaveCsv = tagged<QPushButton>("cmdSaveCsv", this, 1806);
    cmdClose = tagged<QPushButton>("cmdClose", this, 1704);
    for (QPushButton *b : {cmdSaveCsv, cmdClose})
        b->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSaveCsv);
    buttons->addWidget(cmdClose);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(chartTimes, 1);
    layout->addWidget(lblCycleStatus);
    layout->addWidget(tblSummary);
    layout->addLayout(buttons);
}

void frmCycleTest::showRunning(bool running) {
    for (QWidget *w : std::initializer_list<QWidget *>{chkUntilStop, cmdStart, cmdSaveCsv})
        w->setEnabled(!running);
    spnCount->setEnabled(!running && !chkUntilStop->isChecked());
    cmdSaveCsv->setEnabled(!running && !m_test.moves().isEmpty());
    cmdStop->setEnabled(running);
    (running ? cmdStop : cmdStart)->setFocus(Qt::OtherFocusReason);
}

void frmCycleTest::onStart() {
    showRunning(true);
    lblCycleStatus->clear();
    chartTimes->update();
    // The moves and their failures are told by the move operations, as in the main window.
    m_test.run(chkUntilStop->isChecked() ? 0 : spnCount->value());
    showSummary();
    showRunning(false);
    if (m_closeWhenDone)
        accept();
}

void frmCycleTest::showMeasured(const CycleMove &move) {
    lblCycleStatus->setText(ResText(1815).arg(move.number).arg(move.target).arg(move.durationMs));
    showSummary();
    chartTimes->update();
}

void frmCycleTest::showSummary() {
    const QList<CycleFigures> figures = m_test.summary();
    tblSummary->setRowCount(int(figures.size()));
    for (int row = 0; row < figures.size(); ++row) {
        const CycleFigures &f = figures[row];
        const QStringList cells{ResText(33 + f.target),
                                QString::number(f.moves),
                                QString::number(f.minMs),
                                ms(f.medianMs),
                                ms(f.p95Ms),
                                QString::number(f.maxMs),
                                QString::number(f.alarms)};
        for (int column = 0; column < cells.size(); ++column) {
            auto *cell = new QTableWidgetItem(cells[column]);
            if (column > 0)
                cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            tblSummary->setItem(row, column, cell);
        }
    }
}

void frmCycleTest::onSaveCsv() {
    const QString path = m_saveDialogs->ShowSave(
        FileDialogs::Options::forSaving(ResText(1816), ResText(1817), QStringLiteral("csv")));
    if (path.isEmpty())
        return;
    if (!m_test.saveCsv(path))
        m_prompt.MsgBox(ResText(1718).arg(path), MsgButtons::OkOnly, MsgIcon::Exclamation);
}

// Closing while the test runs is its Stop: the window goes once the feeder is on position 1.
void frmCycleTest::closeEvent(QCloseEvent *event) {
    if (!m_test.isRunning()) {
        event->accept();
        return;
    }
    m_closeWhenDone = true;
    m_test.stop();
    event->ignore();
}

void frmCycleTest::reject() {
    close();
}
