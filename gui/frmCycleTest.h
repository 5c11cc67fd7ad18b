#pragma once

#include "gui/QtFileDialogs.h"
#include "ops/CycleTest.h"

#include <QDialog>

class CycleTimesChart;
class MoveOperations;
class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;
class UserPrompt;

// The cycle test window of Move mode: how many moves (or until Stop), Start and Stop, the chart
// of each move's time, the figures of each position and Save CSV. The cycle test does the moving
// and the measuring; the window shows it. Closing it while the test runs stops the test as Stop
// does, and the window goes once the feeder has ended on position 1.
class frmCycleTest : public QDialog {
    Q_OBJECT
public:
    frmCycleTest(MoveOperations &moves, UserPrompt &prompt, QWidget *mainWindow = nullptr);

    QSpinBox *spnCount = nullptr;
    QCheckBox *chkUntilStop = nullptr;
    QPushButton *cmdStart = nullptr, *cmdStop = nullptr, *cmdSaveCsv = nullptr;
    QPushButton *cmdClose = nullptr;
    CycleTimesChart *chartTimes = nullptr;
    QTableWidget *tblSummary = nullptr;
    QLabel *lblCycleStatus = nullptr;

    const CycleTest &test() const { return m_test; }
    // The file chooser of Save CSV: a Qt file dialog unless a test puts another in place.
    void setSaveDialogs(FileDialogs &dialogs) { m_saveDialogs = &dialogs; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void build();
    void onStart();
    void onSaveCsv();
    void showRunning(bool running);
    void showMeasured(const CycleMove &move);
    void showSummary();

    CycleTest m_test;
    UserPrompt &m_prompt;
    QWidget *m_mainWindow;
    bool m_closeWhenDone = false;
    QtFileDialogs m_ownDialogs{this};
    FileDialogs *m_saveDialogs = &m_ownDialogs;
};
