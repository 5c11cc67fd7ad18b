#include "gui/frmInputOutput.h"

#include "base/ResText.h"
#include "base/UserPrompt.h"
#include "gui/FormBuild.h"
#include "gui/IoTimelineChart.h"
#include "gui/LocaliseForm.h"
#include "gui/Twips.h"
#include "gui/UiFont.h"
#include "iomon/IoMonitor.h"
#include "iomon/IoRecorder.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using Control = QLabel *frmInputOutput::*;

// The controls of each signal, in the monitor's signal order.
struct LampControls {
    Control label;
    const char *labelName;
    Control red;
    const char *redName;
    Control white;
    const char *whiteName;
};

const LampControls Lamps[IoSignals::Count] = {
    {&frmInputOutput::lblUnten, "lblUnten", &frmInputOutput::imgUntenRed, "imgUntenRed",
     &frmInputOutput::imgUntenWhite, "imgUntenWhite"},
    {&frmInputOutput::lblKyosei, "lblKyosei", &frmInputOutput::imgKyoseiRed, "imgKyoseiRed",
     &frmInputOutput::imgKyoseiWhite, "imgKyoseiWhite"},
    {&frmInputOutput::lblTeisoku, "lblTeisoku", &frmInputOutput::imgTeisokuRed, "imgTeisokuRed",
     &frmInputOutput::imgTeisokuWhite, "imgTeisokuWhite"},
    {&frmInputOutput::lblWorkKen, "lblWorkKen", &frmInputOutput::imgWorkKenRed, "imgWorkKenRed",
     &frmInputOutput::imgWorkKenWhite, "imgWorkKenWhite"},
    {&frmInputOutput::lblManpaiKen, "lblManpaiKen", &frmInputOutput::imgManpaiKenRed,
     "imgManpaiKenRed", &frmInputOutput::imgManpaiKenWhite, "imgManpaiKenWhite"},
    {&frmInputOutput::lblStop, "lblStop", &frmInputOutput::imgStopRed, "imgStopRed",
     &frmInputOutput::imgStopWhite, "imgStopWhite"},
    {&frmInputOutput::lblToridasiOk, "lblToridasiOk", &frmInputOutput::imgToridasiOkRed,
     "imgToridasiOkRed", &frmInputOutput::imgToridasiOkWhite, "imgToridasiOkWhite"},
    {&frmInputOutput::lblManpai, "lblManpai", &frmInputOutput::imgManpaiRed, "imgManpaiRed",
     &frmInputOutput::imgManpai, "imgManpai"},
    {&frmInputOutput::lblAlarm, "lblAlarm", &frmInputOutput::imgAlarmRed, "imgAlarmRed",
     &frmInputOutput::imgAlarmWhite, "imgAlarmWhite"},
};

constexpr int LampSize = 20;
constexpr int LampFrame = 2; // room for the focus frame around an output's lamp
constexpr int FrameInputs = 1450;
constexpr int FrameOutputs = 1451;
constexpr int SwitchHint = 1452;
constexpr int TerminalNameHint = 1611;
const char SignalProperty[] = "ioSignal";

// Whether the key switches an output as a double-click on its lamp does.
bool isSwitchKey(const QKeyEvent *event) {
    return event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
           event->key() == Qt::Key_Enter;
}

} // namespace

frmInputOutput::frmInputOutput(IoMonitor &monitor, QWidget *mainWindow)
    : QDialog(mainWindow), m_monitor(monitor), m_mainWindow(mainWindow),
      m_recorder(std::make_unique<IoRecorder>(monitor, monitor.prompt())) {
    setObjectName(QStringLiteral("frmInputOutput"));
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFont(uiFont());
    build();
    load();
    connect(&m_monitor, &IoMonitor::lampsChanged, this, &frmInputOutput::showLamps);
    connect(&m_monitor, &IoMonitor::monitoringChanged, this, &frmInputOutput::showMonitoring);
    connect(cmdMonitor, &QPushButton::clicked, this, &frmInputOutput::onMonitorClicked);
    connect(cmdTojiru, &QPushButton::clicked, this, &frmInputOutput::onCloseClicked);
    connect(cmdRecord, &QPushButton::clicked, this, &frmInputOutput::onRecordClicked);
    connect(m_recorder.get(), &IoRecorder::recordingChanged, this, &frmInputOutput::showRecording);
    connect(&m_monitor, &IoMonitor::portsRead, this, [this](qint64 ms, const IoPorts &ports) {
        m_timeline.add(ms, ports);
        chartTimeline->update();
    });
    // A stopped chart keeps its last minute; the next start continues after a gap.
    connect(&m_monitor, &IoMonitor::monitoringChanged, this, [this](bool running) {
        if (!running)
            m_timeline.breakRun();
    });
}

frmInputOutput::~frmInputOutput() = default;

QLabel *frmInputOutput::redLamp(int signal) const {
    return this->*Lamps[signal].red;
}

QLabel *frmInputOutput::whiteLamp(int signal) const {
    return this->*Lamps[signal].white;
}

void frmInputOutput::build() {
    framInput = named<QGroupBox>("framInput", this);
    setTagId(framInput, FrameInputs);
    framOutput = named<QGroupBox>("framOutput", this);
    setTagId(framOutput, FrameOutputs);
    auto *inputs = new QGridLayout(framInput);
    auto *outputs = new QGridLayout(framOutput);

    const auto &all = IoSignals::table();
    for (int i = 0; i < IoSignals::Count; ++i) {
        const LampControls &c = Lamps[i];
        const bool output = all[size_t(i)].isOutput();
        QGroupBox *frame = output ? framOutput : framInput;
        // An output's lamp takes the keyboard (Tab) and shows it by a frame around it.
        auto *holder = new QFrame(frame);
        holder->setFixedSize(LampSize + 2 * LampFrame, LampSize + 2 * LampFrame);
        holder->setProperty(SignalProperty, i);
        if (output) {
            holder->setFocusPolicy(Qt::StrongFocus);
            holder->installEventFilter(this);
        }
        // The white lamp is always there; the red one lies over it while the signal is active.
        QLabel *white = named<QLabel>(c.whiteName, holder);
        white->setPixmap(QPixmap(QStringLiteral(":/images/lampWhite.png")));
        QLabel *red = named<QLabel>(c.redName, holder);
        red->setPixmap(QPixmap(QStringLiteral(":/images/lampRed.png")));
        for (QLabel *lamp : {white, red}) {
            lamp->setGeometry(LampFrame, LampFrame, LampSize, LampSize);
            lamp->setProperty(SignalProperty, i);
            if (output)
                lamp->installEventFilter(this);
        }
        red->raise();
        red->hide();
        QLabel *label = named<QLabel>(c.labelName, frame);
        setTagId(label, all[size_t(i)].labelId);
        this->*c.white = white;
        this->*c.red = red;
        this->*c.label = label;
        QGridLayout *grid = output ? outputs : inputs;
        const int row = grid->rowCount();
        grid->addWidget(holder, row, 0);
        grid->addWidget(label, row, 1);
    }
    inputs->setRowStretch(inputs->rowCount(), 1);
    outputs->setRowStretch(outputs->rowCount(), 1);

    cmdMonitor = tagged<QPushButton>("cmdMonitor", this, 420);
    cmdMonitor->setAutoDefault(false);
    cmdTojiru = tagged<QPushButton>("cmdTojiru", this, 421);
    cmdTojiru->setAutoDefault(false);
    cmdRecord = tagged<QPushButton>("cmdRecord", this, 1454);
    cmdRecord->setAutoDefault(false);
    chartTimeline = named<IoTimelineChart>("chartTimeline", this, m_timeline);

    auto *frames = new QHBoxLayout;
    frames->addWidget(framInput);
    frames->addWidget(framOutput);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdRecord);
    buttons->addStretch();
    buttons->addWidget(cmdMonitor);
    buttons->addWidget(cmdTojiru);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(frames);
    layout->addWidget(chartTimeline);
    layout->addLayout(buttons);
}

void frmInputOutput::load() {
    // The design caption stays: there is no text for the window's title id.
    setWindowTitle(QStringLiteral("Input/Output"));
    setTagId(this, 410);
    m_monitor.reset();
    LocaliseForm(this);
    // Each lamp names its signal as qvpc-cli does; an output's says how to switch it.
    const auto &all = IoSignals::table();
    for (int i = 0; i < IoSignals::Count; ++i) {
        QString tip = ResText(TerminalNameHint).arg(QLatin1String(all[size_t(i)].cliName));
        if (all[size_t(i)].isOutput())
            tip = ResText(SwitchHint) + u'\n' + tip;
        for (QWidget *w : {static_cast<QWidget *>(redLamp(i)), static_cast<QWidget *>(whiteLamp(i)),
                           redLamp(i)->parentWidget()})
            w->setToolTip(tip);
    }
    showLamps();
    showMonitoring(false);
    adjustSize();
    Twips::placeBesideMain(this, m_mainWindow);
}

void frmInputOutput::showLamps() {
    for (int i = 0; i < IoSignals::Count; ++i)
        redLamp(i)->setVisible(m_monitor.lampOn(i));
}

void frmInputOutput::showMonitoring(bool running) {
    cmdMonitor->setText(ResText(running ? 422 : 420));
    cmdTojiru->setEnabled(!running);
}

void frmInputOutput::onMonitorClicked() {
    // Disabling the button hands the keyboard on (to Record...); it comes back here, so that a
    // second Space stops or starts monitoring again.
    const bool hadFocus = cmdMonitor->hasFocus();
    cmdMonitor->setEnabled(false);
    m_monitor.toggleMonitoring();
    cmdMonitor->setEnabled(true);
    if (hadFocus)
        cmdMonitor->setFocus(Qt::OtherFocusReason);
}

void frmInputOutput::showRecording(bool recording) {
    cmdRecord->setText(ResText(recording ? 1455 : 1454));
}

// Record... chooses a file and records every read from then on, until Stop Recording or the end
// of monitoring.
void frmInputOutput::onRecordClicked() {
    if (m_recorder->isRecording()) {
        m_recorder->stop();
        return;
    }
    const QString path = m_recordDialogs->ShowSave(
        FileDialogs::Options::forSaving(ResText(1456), ResText(1457), QStringLiteral("vcd")));
    if (path.isEmpty())
        return;
    const auto format = IoRecordFile::formatFor(path);
    if (!format) {
        m_monitor.prompt().MsgBox(ResText(1458), MsgButtons::OkOnly, MsgIcon::Exclamation);
        return;
    }
    m_recorder->start(path, *format);
}

void frmInputOutput::onCloseClicked() {
    // A poll still waiting for its reply ends monitoring once it is back.
    m_monitor.StopIoCheck();
    accept();
}

bool frmInputOutput::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress && isSwitchKey(static_cast<QKeyEvent *>(event))) {
        m_monitor.requestToggle(watched->property(SignalProperty).toInt());
        return true;
    }
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        if (auto *holder = qobject_cast<QFrame *>(watched))
            holder->setFrameStyle(event->type() == QEvent::FocusIn ? QFrame::Box | QFrame::Plain
                                                                   : QFrame::NoFrame);
    }
    if (event->type() == QEvent::MouseButtonDblClick) {
        const QVariant signal = watched->property(SignalProperty);
        if (signal.isValid())
            m_monitor.requestToggle(signal.toInt());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// The close box does nothing; only Close ends the window.
void frmInputOutput::closeEvent(QCloseEvent *event) {
    event->ignore();
}

// Escape closes the window as Close does, and only when Close can: never while monitoring.
void frmInputOutput::reject() {
    if (cmdTojiru->isEnabled())
        onCloseClicked();
}
