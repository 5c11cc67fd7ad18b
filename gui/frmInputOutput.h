#pragma once

#include <QDialog>

#include <array>

class IoMonitor;
class QGroupBox;
class QLabel;
class QPushButton;

// The I/O monitor window: the controller's five inputs and four outputs as lamps, the monitor
// button and Close. Double-clicking an output's lamp switches that output on the next poll. The
// window draws what the monitor holds; the monitor does the talking. Only Close closes it.
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

    IoMonitor &m_monitor;
    QWidget *m_mainWindow = nullptr;
};
