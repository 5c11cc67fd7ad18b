#include "gui/frmMain.h"

#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "base/UserPrompt.h"
#include "data/FileOperations.h"
#include "data/QvData.h"
#include "gui/FieldBinding.h"
#include "gui/FieldFilter.h"
#include "gui/LocaliseForm.h"
#include "gui/PortStatusLabel.h"
#include "gui/QtPrintDialogs.h"
#include "gui/Twips.h"
#include "gui/UiFont.h"
#include "link/ControllerLink.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>

namespace {

constexpr int HeightWithoutParameters = 6585; // twips
constexpr int HeightWithParameters = 8950;
constexpr int WindowWidth = 12600;

} // namespace

frmMain::frmMain(Session &session, QWidget *parent)
    : QMainWindow(parent), m_session(session), m_settings(session.settings), m_link(session.link),
      m_prompt(session.prompt()), m_copies(session.copies),
      m_filter(new FieldFilter(m_prompt, this)) {
    m_session.attach(*this, m_fileDialogs, *m_trance);
    m_link.setLog(&m_commLog);
    setObjectName(QStringLiteral("frmMain"));
    setFont(uiFont());
    buildWindow();
    m_portStatus = new PortStatusLabel(m_link, m_settings, this);
    statusBar()->addWidget(m_portStatus, 1);
    connectControls();
    connectMenus();
    connectFieldChecks();
    connect(&m_link, &ControllerLink::alarmChanged, this, &frmMain::showAlarm);
    connect(&m_link, &ControllerLink::portStateChanged, this, &frmMain::updatePortLamp);
    load();
}

frmMain::~frmMain() {
    // The session outlives the window and may still close the port.
    m_link.setLog(nullptr);
}

QString frmMain::titleText() {
    return QStringLiteral("QV PC-Software Ver%1.%2%3")
        .arg(QVPC_VERSION_MAJOR)
        .arg(QVPC_VERSION_MINOR)
        .arg(QVPC_VERSION_PATCH);
}

// The window's load: texts, settings, the start values and the Edit-mode state of the design.
void frmMain::load() {
    LocaliseForm(this);
    m_settings.ReadLanguage();
    m_settings.ReadPortNo();
    m_modes = WindowModes();
    m_copies.setStartValues();
    for (QComboBox *combo : {comboVEL1, comboVEL2}) {
        for (int n = 1; n <= 30; ++n)
            combo->addItem(u' ' + QString::number(n));
        combo->setCurrentIndex(0);
    }
    framParameta->hide();
    resize(Twips::toPixels(WindowWidth), Twips::toPixels(HeightWithoutParameters));
    fitToScreen();
    m_dataChanged = false;
    setWindowTitle(titleText());

    // The design state of Edit mode; load does not run EnterEditMode.
    showModes();

    updatePortLamp();
    m_portStatus->refresh();
}

void frmMain::showAlarm() {
    imgAlarmLed->setVisible(m_link.alarmLampShown());
    lblAlarmNo->setText(m_link.alarmCode());
    lblErrorComment->setText(m_link.alarmComment());
}

void frmMain::updatePortLamp() {
    imgPortGreen->setVisible(m_link.isPortOpen());
}

void frmMain::applyParameterDisplay() {
    m_modes.applyParameterDisplay();
    showModes();
    const bool shown = m_modes.showParameters();
    framParameta->setVisible(shown);
    framHomePara->setVisible(shown);
    // The layout learns of the frames shown or hidden before the window takes its new height.
    m_controls->layout()->activate();
    layout()->activate();
    resize(width(), Twips::toPixels(shown ? HeightWithParameters : HeightWithoutParameters));
    // Taller with the parameters, it may no longer fit its screen: its controls scroll then.
    fitToScreen();
    update();
}

// A window larger than its screen is made to fit (its controls then scroll), so that nothing lies
// off-screen at start. The frame is allowed for before the window manager has framed the window.
void frmMain::fitToScreen() {
    const QScreen *shownOn = screen();
    if (!shownOn)
        return;
    // Until the window manager has framed the window its frame is unknown: room is left for one.
    QSize frame = frameGeometry().size() - size();
    if (!isVisible() || frame.isNull())
        frame = QSize(8, 32);
    const QRect available = shownOn->availableGeometry();
    const QSize room = available.size() - frame;
    if (width() > room.width() || height() > room.height())
        resize(qMin(width(), room.width()), qMin(height(), room.height()));
    if (!isVisible())
        return;
    // Grown where it stands (the parameters shown), it may reach past the screen's edge: it moves
    // back inside, never above or left of the screen.
    const QRect framed(frameGeometry().topLeft(), size() + frame);
    const QPoint back(qMin(0, available.right() - framed.right()),
                      qMin(0, available.bottom() - framed.bottom()));
    if (!back.isNull()) {
        const QPoint topLeft = framed.topLeft() + back;
        move(qMax(topLeft.x(), available.left()), qMax(topLeft.y(), available.top()));
    }
}

bool frmMain::queryClose() {
    // The window's own save, which the menu and the button run too.
    m_syuryoCancel = !m_session.files().mayEnd([this] { return SaveFile(); });
    return !m_syuryoCancel;
}

void frmMain::closeEvent(QCloseEvent *event) {
    if (!queryClose()) {
        event->ignore();
        return;
    }
    // Unloading: the port number is kept for the next run and the port released.
    hide();
    m_settings.SavePortNo();
    m_link.ClosePort();
    event->accept();
}

void frmMain::onExit() {
    close();
    if (!m_syuryoCancel && m_link.isPortOpen())
        m_link.ClosePort();
}

QPrinter &frmMain::printer() {
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

PrintDialogs &frmMain::printDialogs() {
    if (!m_printDialogsInUse) {
        m_printDialogs = std::make_unique<QtPrintDialogs>(this, printer(), m_fileDialogs, m_prompt);
        m_printDialogsInUse = m_printDialogs.get();
    }
    return *m_printDialogsInUse;
}

// Printer set-up: OK or Cancel, nothing else happens.
void frmMain::onPageSetup() {
    QPageSetupDialog dialog(&printer(), this);
    dialog.exec();
}

void frmMain::ShowFileName(const QString &name) {
    lblShowName->setText(name);
}
