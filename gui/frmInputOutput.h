#pragma once

#include "gui/QtFileDialogs.h"
#include "iomon/IoTimeline.h"

#include <QDialog>

#include <array>
#include <memory>

class IoMonitor;
class IoRecorder;
class IoTimelineChart;
class QGroupBox;
class QLabel;
class QPushButton;

// The I/O monitor window: the controller's five inputs and four outputs as lamps, below them the
// last minute of the nine signals as a strip chart, the Record... button, the monitor button and
// Close. Double-clicking an output's lamp switches that output on the next poll. The window draws
// what the monitor holds; the monitor does the talking. Only Close closes it.
class frmInputOutput : public QDialog {
    Q_OBJECT
public:
    // mainWindow: the window it places itself beside when it loads.
    frmInputOutput(IoMonitor &monitor, QWidget *mainWindow = nullptr);
    ~frmInputOutput() override;

    QLabel *lblUnten = nullptr, *imgUntenRed = nullptr, *imgUntenWhite = nullptr;
    QLabel *lblKyosei = nullptr, *imgKyoseiRed = nullptr, *imgKyoseiWhite = nullptr;
    QLabel *lblTeisoku = nullptr, *imgTeisokuRed = nullptr, *imgTeisokuWhite = nullptr;
    QLabel *lblWorkKen = nullptr, *imgWorkKenRed = nullptr, *imgWorkKenWhite = nullptr;
    QLabel *lblManpaiKen = nullptr, *imgManpaiKenRed = nullptr, *imgManpaiKenWhite = nullptr;
    QLabel *lblStop = nullptr, *imgStopRed = nullptr, *imgStopWhite = nullptr;
    QLabel *lblToridasiOk = nullptr, *imgToridasiOkRed = nullptr, *imgToridasiOkWhite = nullptr;
    QLabel *lblManpai = nullptr, *imgManpaiRed = nullptr, *imgManpai = nullptr;
    QLabel *lblAlarm = nullptr, *imgAlarmRed = nullptr, *imgAlarmWhite = nullptr;
    QGroupBox *framInput = nullptr, *framOutput = nullptr;
    QPushButton *cmdMonitor = nullptr;
    QPushButton *cmdTojiru = nullptr;
    QPushButton *cmdRecord = nullptr;
    IoTimelineChart *chartTimeline = nullptr;

    // The file chooser of Record...: a Qt file dialog unless a test puts another in place.
    void setRecordDialogs(FileDialogs &dialogs) { m_recordDialogs = &dialogs; }
    const IoTimeline &timeline() const { return m_timeline; }

    // The red lamp of each signal, in the monitor's signal order.
    QLabel *redLamp(int signal) const;
    QLabel *whiteLamp(int signal) const;

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build();
    void load();
    void showLamps();
    void showMonitoring(bool running);
    void onMonitorClicked();
    void onCloseClicked();
    void onRecordClicked();
    void showRecording(bool recording);

    IoMonitor &m_monitor;
    QWidget *m_mainWindow = nullptr;
    IoTimeline m_timeline;
    std::unique_ptr<IoRecorder> m_recorder;
    QtFileDialogs m_ownDialogs{this};
    FileDialogs *m_recordDialogs = &m_ownDialogs;
};
