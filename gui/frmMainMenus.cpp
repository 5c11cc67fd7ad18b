// The main window's menus, and which operation each menu entry and button reaches.
#include "base/ResText.h"
#include "gui/LocaliseForm.h"
#include "gui/frmMain.h"
#include "ops/MoveOperations.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>

namespace {

QAction *entry(QMenu *menu, const char *name) {
    QAction *action = menu->addAction(QString());
    action->setObjectName(QLatin1String(name));
    return action;
}

QMenu *submenu(QWidget *owner, const char *name) {
    auto *menu = new QMenu(owner);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

} // namespace

void frmMain::buildMenus() {
    QMenuBar *bar = menuBar();
    mnuFile = submenu(this, "mnuFile");
    setMenuId(mnuFile->menuAction(), 101);
    bar->addMenu(mnuFile);
    mnuFileNew = entry(mnuFile, "mnuFileNew");
    setMenuId(mnuFileNew, 102);
    mnuFileNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    mnuFileOpen = entry(mnuFile, "mnuFileOpen");
    setMenuId(mnuFileOpen, 103);
    mnuFileOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuFileGetfromCt = entry(mnuFile, "mnuFileGetfromCt");
    setMenuId(mnuFileGetfromCt, 104);
    mnuFile->addSeparator();
    mnuFileSave = entry(mnuFile, "mnuFileSave");
    setMenuId(mnuFileSave, 105);
    mnuFileSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuFileSaveAs = entry(mnuFile, "mnuFileSaveAs");
    setMenuId(mnuFileSaveAs, 106);
    mnuFileLoadtoCt = entry(mnuFile, "mnuFileLoadtoCt");
    setMenuId(mnuFileLoadtoCt, 107);
    mnuFile->addSeparator();
    mnuFileShogo = submenu(this, "mnuFileShogo");
    setMenuId(mnuFileShogo->menuAction(), 108);
    mnuFile->addMenu(mnuFileShogo);
    mnuCtShogo = entry(mnuFileShogo, "mnuCtShogo");
    setMenuId(mnuCtShogo, 112);
    mnuShogoFile = entry(mnuFileShogo, "mnuShogoFile");
    setMenuId(mnuShogoFile, 113);
    mnuFile->addSeparator();
    mnuFilePageSetup = entry(mnuFile, "mnuFilePageSetup");
    setMenuId(mnuFilePageSetup, 109);
    mnuFilePrint = entry(mnuFile, "mnuFilePrint");
    setMenuId(mnuFilePrint, 110);
    mnuFilePrint->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    mnuFileExit = entry(mnuFile, "mnuFileExit");
    setMenuId(mnuFileExit, 111);

    mnuView = submenu(this, "mnuView");
    setMenuId(mnuView->menuAction(), 121);
    bar->addMenu(mnuView);
    mnuViewOption = entry(mnuView, "mnuViewOption");
    setMenuId(mnuViewOption, 122);
    mnuViewCtVersion = entry(mnuView, "mnuViewCtVersion");
    setMenuId(mnuViewCtVersion, 123);
    mnuShowInpOutp = entry(mnuView, "mnuShowInpOutp");
    setMenuId(mnuShowInpOutp, 124);
    mnuView->addSeparator();
    mnuViewCommLog = entry(mnuView, "mnuViewCommLog");
    setMenuId(mnuViewCommLog, 1700);
    mnuViewHistory = entry(mnuView, "mnuViewHistory");
    setMenuId(mnuViewHistory, 1574);

    mnuModeChange = submenu(this, "mnuModeChange");
    setMenuId(mnuModeChange->menuAction(), 131);
    bar->addMenu(mnuModeChange);
    mnuModeTrancefer = entry(mnuModeChange, "mnuModeTrancefer");
    setMenuId(mnuModeTrancefer, 132);
    mnuModeGaibu = entry(mnuModeChange, "mnuModeGaibu");
    setMenuId(mnuModeGaibu, 133);

    mnuhelp = submenu(this, "mnuhelp");
    setMenuId(mnuhelp->menuAction(), 461);
    bar->addMenu(mnuhelp);
    mnuHelpContents = entry(mnuhelp, "mnuHelpContents");
    setMenuId(mnuHelpContents, 462);
    mnuhelp->addSeparator();
    mnuHelpAbout = entry(mnuhelp, "mnuHelpAbout");
    setMenuId(mnuHelpAbout, 141);
}

void frmMain::connectMenus() {
    // The keyboard goes back to where the menu was opened from, unless that was Reset.
    const auto from = [this] {
        QWidget *w = QApplication::focusWidget();
        return w == cmdReset ? nullptr : w;
    };
    const auto on = [this, from](QAction *action, void (frmMain::*operation)()) {
        connect(action, &QAction::triggered, this, [this, from, operation] {
            runFrom(from(), [this, operation] { (this->*operation)(); });
        });
    };
    on(mnuFileNew, &frmMain::FileNew);
    on(mnuFileOpen, &frmMain::FileOpen);
    on(mnuFileGetfromCt, &frmMain::GetfromCt);
    connect(mnuFileSave, &QAction::triggered, this,
            [this, from] { runFrom(from(), [this] { SaveFile(); }); });
    on(mnuFileSaveAs, &frmMain::SaveFileAs);
    on(mnuFileLoadtoCt, &frmMain::LoadtoCt);
    on(mnuCtShogo, &frmMain::ShogoCtMenu);
    on(mnuShogoFile, &frmMain::ShogoFileMenu);
    on(mnuFilePageSetup, &frmMain::onPageSetup);
    on(mnuFilePrint, &frmMain::PrintData);
    connect(mnuFileExit, &QAction::triggered, this, &frmMain::onExit);
    on(mnuViewOption, &frmMain::ViewOption);
    on(mnuViewCtVersion, &frmMain::ViewCtVersion);
    on(mnuShowInpOutp, &frmMain::ShowInpOutp);
    on(mnuViewCommLog, &frmMain::ShowCommLog);
    on(mnuViewHistory, &frmMain::ShowHistory);
    on(mnuModeTrancefer, &frmMain::ModeTrancefer);
    on(mnuModeGaibu, &frmMain::ModeGaibu);
    on(mnuHelpContents, &frmMain::HelpContents);
    on(mnuHelpAbout, &frmMain::HelpAbout);
}

void frmMain::connectControls() {
    const auto on = [this](QPushButton *button, void (frmMain::*operation)()) {
        connect(button, &QPushButton::clicked, this, [this, button, operation] {
            runFrom(button, [this, operation] { (this->*operation)(); });
        });
    };
    on(cmdFileOpen, &frmMain::FileOpen);
    connect(cmdSaveFile, &QPushButton::clicked, this,
            [this] { runFrom(cmdSaveFile, [this] { SaveFile(); }); });
    on(cmdGetfromCt, &frmMain::GetfromCt);
    on(cmdLoadtoCt, &frmMain::LoadtoCt);
    on(cmdShogoCt, &frmMain::ShogoCtButton);
    on(cmdShogoFile, &frmMain::ShogoFileButton);
    on(cmdModeChange, &frmMain::onModeChange);
    on(cmdSelectMove, &frmMain::SelectMove);
    on(cmdStop, &frmMain::StopMove);
    on(cmdHome, &frmMain::HomeMove);
    on(cmdCycleTest, &frmMain::ShowCycleTest);
    on(cmdReset, &frmMain::ResetController);
    connect(chkChangeDirect, &QCheckBox::toggled, this, &frmMain::onChangeDirect);
    // Each completed move shows at once, also in the middle of a repeat.
    connect(&m_session.moves(), &MoveOperations::completed, lblKanryoNo, &QLabel::setText);
    // While the feeder moves, the status bar says where to; a completed move takes it away.
    connect(&m_session.moves(), &MoveOperations::moving, this, [this](int target) {
        statusBar()->showMessage(target == 0 ? ResText(1563) : ResText(1562).arg(target));
    });
    connect(&m_session.moves(), &MoveOperations::completed, statusBar(), &QStatusBar::clearMessage);
}

void frmMain::runFrom(QWidget *starter, const std::function<void()> &operation) {
    const QPointer<QWidget> from(starter);
    operation();
    returnFocus(from);
}

void frmMain::returnFocus(QWidget *starter) {
    if (!isVisible())
        return;
    for (QWidget *w :
         {starter, static_cast<QWidget *>(comboVEL1), static_cast<QWidget *>(cmdSelectMove)}) {
        if (w && w->window() == this && w->isVisible() && w->isEnabled() &&
            w->focusPolicy() != Qt::NoFocus) {
            w->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}
