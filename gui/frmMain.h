#pragma once

#include "base/MainScreen.h"
#include "gui/HelpFile.h"
#include "gui/QtFileDialogs.h"
#include "gui/frmTrance.h"
#include "link/CommLog.h"
#include "session/Session.h"
#include "session/WindowModes.h"

#include <QMainWindow>
#include <memory>
#include <vector>

class ControllerLink;
class FieldFilter;
struct FieldBinding;
class PortStatusLabel;
class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class PrintDialogs;
class QPrinter;
class QPushButton;
class QRadioButton;
class StoredSettings;
class UpDown;
class UserPrompt;
class frmCommLog;
struct QvDataCopies;

// The main window: the editing fields of the QV data, the Move-mode controls, the status area and
// the menus. It owns its controls and routes their events; the operations themselves live in their
// own folders and reach the window through MainScreen.
class frmMain : public QMainWindow, public MainScreen {
    Q_OBJECT
public:
    // Attaches the session's operations to this window.
    explicit frmMain(Session &session, QWidget *parent = nullptr);
    ~frmMain() override;

    // "QV PC-Software Ver" + major + "." + minor + revision.
    static QString titleText();

    // --- MainScreen ---
    void CMDBTN_Muko() override;
    void CMDBTN_Yuko() override;
    void Menyu_Muko() override;
    void Menyu_Yuko() override;
    void MoveCMDBTN_Muko() override;
    void MoveCMDBTN_Yuko() override;
    bool ScreenCheck() override;
    void ShowQvData() override;
    bool ParametersActive() const override;
    bool DataChanged() const override { return m_dataChanged; }
    void setDataChanged(bool changed) override { m_dataChanged = changed; }
    void ClearFieldsForNew() override;
    void ShowFileName(const QString &name) override;
    void ShowNote(const QString &text) override;

    // --- modes and the parameter display ---
    void EnterEditMode();
    void EnterMoveMode();
    bool inEditMode() const { return m_modes.inEditMode(); }
    bool ShowParameters() const { return m_modes.showParameters(); }
    void setShowParameters(bool shown) { m_modes.setShowParameters(shown); }
    bool HomeParamsEditable() const { return m_modes.homeParamsEditable(); }
    void setHomeParamsEditable(bool editable) { m_modes.setHomeParamsEditable(editable); }
    // Window height and parameter frames after ShowParameters has been set.
    void applyParameterDisplay();
    void HomePara_Yuko();
    void HomePara_Muko();

    // --- the screen data ---
    // Fields into the working copy: true when taken, false when a field did not fit its item
    // (reported).
    bool Torikomi_Data();
    // True when no field is blank; false when a blank field was reported.
    bool Check_DataUmu();
    // Range check of the working copy: true when all are in range, false when reported.
    bool Check_DataRange();

    // The user cancelled the last close request.
    bool SyuryoCancel() const { return m_syuryoCancel; }

    // Reads the controller's data without asking first (the start-up question's first answer).
    void OnlineDataRead();

    // The help file the start routine has prepared; without one, help shows that there is none.
    void setHelpFile(HelpFile &help) { m_help = &help; }
    // The status bar's field with the port number, its device and state.
    PortStatusLabel *portStatus() const { return m_portStatus; }

    // The printer the page set-up and printing share.
    QPrinter &printer();
    // The print command's dialogs: the window's own unless a test has put others in place.
    PrintDialogs &printDialogs();
    void setPrintDialogs(PrintDialogs &dialogs) { m_printDialogsInUse = &dialogs; }

protected:
    void closeEvent(QCloseEvent *event) override;
    // Saving through cmdSaveFile / mnuFileSave.
    virtual OpResult SaveFile();

private:
    // Building the window.
    void buildWindow();
    QWidget *buildModeFrame();
    QWidget *buildMoveFrame();
    QWidget *buildPositionFrame();
    QWidget *buildStatusFrame();
    QWidget *buildSensorFrame();
    QWidget *buildHomingFrame();
    void buildMenus();
    void connectControls();
    void connectMenus();
    void bindFields();
    void connectFieldChecks();
    void load();
    void fitToScreen();

    // The change flag; connectFieldChecks says which changes of the fields set it.
    void onFieldChanged() { m_dataChanged = true; }
    // A few seconds' hint in the status bar about the field: which one and its range.
    void showFieldHint(QWidget *field, int textId);
    static constexpr int HintMs = 4000;

    // The close question; true when the window may close.
    bool queryClose();
    void showAlarm();
    // The port lamp shows while the port is open.
    void updatePortLamp();
    // The controls, mode labels and frame captions as m_modes says.
    void showModes();
    void holdAndShow(WindowModes::Bracket bracket, bool held);
    void setHomingFields(bool editable);
    void onModeChange();
    void onChangeDirect(bool checked);
    void onExit();
    void onPageSetup();
    // Runs an operation started from starter (a button, or the field a menu was opened from)
    // and gives the keyboard back to it afterwards; see returnFocus.
    void runFrom(QWidget *starter, const std::function<void()> &operation);
    // After an operation: the focus on starter where it can take it, else on the first editing
    // field, else on Start; never left on Reset, where a Space would reset the controller.
    void returnFocus(QWidget *starter);

    // Operations built elsewhere (frmMainOperations.cpp).
    void FileNew();
    void FileOpen();
    void SaveFileAs();
    void GetfromCt();
    void LoadtoCt();
    void ShogoCtButton();
    void ShogoCtMenu();
    void ShogoFileButton();
    void ShogoFileMenu();
    void PrintData();
    void ViewOption();
    void ViewCtVersion();
    void ShowInpOutp();
    void ShowCommLog();
    void ShowHistory();
    void ModeTrancefer();
    void ModeGaibu();
    void HelpContents();
    void HelpAbout();
    void SelectMove();
    void StopMove();
    void HomeMove();
    void ShowCycleTest();
    void ResetController();
    // A refusal because another exchange waits, said in the status bar (frmMainOperations.cpp).
    void tellIfBusy(const OpResult &result);
    // The status bar after a move, homing or reset, however it ended.
    void settleMove(const OpResult &result);

    Session &m_session;
    StoredSettings &m_settings;
    ControllerLink &m_link;
    UserPrompt &m_prompt;
    QvDataCopies &m_copies;
    QtFileDialogs m_fileDialogs{this};
    // The communication-in-progress window the controller read and write show.
    frmTrance *m_trance = new frmTrance(this);
    // What went over the line, kept while the program runs; its window is made when first asked
    // for and has file dialogs of its own, so that the data file dialogs keep their folder.
    CommLog m_commLog;
    QtFileDialogs m_commLogDialogs{this};
    frmCommLog *m_commLogWindow = nullptr;
    FieldFilter *m_filter = nullptr;
    // The editing fields and their items, in the order they are taken (frmMainFields.cpp).
    std::vector<FieldBinding> m_fields;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<PrintDialogs> m_printDialogs;
    PrintDialogs *m_printDialogsInUse = nullptr;
    HelpFile m_noHelp{m_prompt};
    HelpFile *m_help = &m_noHelp;
    PortStatusLabel *m_portStatus = nullptr;
    // The widget that holds every control, inside the window's scroll area.
    QWidget *m_controls = nullptr;

    // Which mode the window is in and what may be used now.
    WindowModes m_modes;
    bool m_dataChanged = false;
    bool m_syuryoCancel = false;

    // Controls, named as the window's design names them (also their objectName, by which the
    // tests find them).
    QGroupBox *frmJog = nullptr;
    QPushButton *cmdModeChange = nullptr;
    QLabel *lblMoveMode = nullptr;
    QLabel *lblEditMode = nullptr;

    QGroupBox *framPosiData = nullptr;
    QGroupBox *framDousaPara = nullptr;
    QLabel *lblVel = nullptr, *lblAcc = nullptr, *lblGensoku = nullptr, *lblTimer = nullptr,
           *lblPosition = nullptr, *lblPosi1 = nullptr, *lblPosi2 = nullptr;
    QComboBox *comboVEL1 = nullptr, *comboVEL2 = nullptr;
    QLabel *lblPosi1Acc = nullptr, *lblPosi2Acc = nullptr, *lblPosi1Gensoku = nullptr,
           *lblPosi2Gensoku = nullptr;
    UpDown *UpDown1 = nullptr, *UpDown2 = nullptr, *UpDownP1Gen = nullptr, *UpDownP2Gen = nullptr;
    QLineEdit *txtPosi1Timer = nullptr, *txtPosi2Timer = nullptr, *txtPosi1 = nullptr,
              *txtPosi2 = nullptr;
    QPushButton *cmdFileOpen = nullptr, *cmdSaveFile = nullptr, *cmdGetfromCt = nullptr,
                *cmdLoadtoCt = nullptr, *cmdShogoCt = nullptr, *cmdShogoFile = nullptr;

    QGroupBox *frmMove = nullptr;
    QGroupBox *framSelectPosi = nullptr;
    QRadioButton *optPosiNo[3] = {nullptr, nullptr, nullptr};
    QPushButton *cmdSelectMove = nullptr, *cmdStop = nullptr, *cmdHome = nullptr;
    QPushButton *cmdCycleTest = nullptr;
    QLabel *lblKanryoiti = nullptr, *lblKanryoNo = nullptr;

    QGroupBox *frmTrancefer = nullptr;
    QPushButton *cmdReset = nullptr;
    QLabel *lblJotai = nullptr, *imgPortWhite = nullptr, *imgPortGreen = nullptr;
    QLabel *lblError = nullptr, *imgAlarmGreen = nullptr, *imgAlarmLed = nullptr;
    QLabel *Label1 = nullptr, *lblAlarmNo = nullptr, *lblErrorComment = nullptr;
    QLabel *lblFileName = nullptr, *lblShowName = nullptr;

    QGroupBox *framParameta = nullptr;
    QLabel *lblLowKaijoCnt = nullptr, *lblSentanCount = nullptr, *lblRestartDelay = nullptr,
           *lblXXXCnt = nullptr, *lblNoWorkCount = nullptr, *lblHensu1 = nullptr,
           *lblHensu2 = nullptr;
    QLineEdit *txtLowKaijoCnt = nullptr, *txtSentanCount = nullptr, *txtRestartDelay = nullptr,
              *txtXXXCnt = nullptr, *txtNoWorkCount = nullptr, *txtHensu1 = nullptr,
              *txtHensu2 = nullptr;
    QCheckBox *chkChangeDirect = nullptr;
    QGroupBox *framChangeDirect = nullptr;
    QCheckBox *chkRevDir = nullptr;

    QGroupBox *framHomePara = nullptr;
    QLabel *lblHomeSokudo = nullptr, *lblHomePosi = nullptr, *lblOffsetSokudo = nullptr,
           *lblOffsetPosi = nullptr;
    QLineEdit *txtHomeSokudo = nullptr, *txtHomePosi = nullptr, *txtOffsetSokudo = nullptr,
              *txtOffsetPosi = nullptr;

    QMenu *mnuFile = nullptr, *mnuFileShogo = nullptr, *mnuView = nullptr, *mnuModeChange = nullptr,
          *mnuhelp = nullptr;
    QAction *mnuFileNew = nullptr, *mnuFileOpen = nullptr, *mnuFileGetfromCt = nullptr,
            *mnuFileSave = nullptr, *mnuFileSaveAs = nullptr, *mnuFileLoadtoCt = nullptr,
            *mnuCtShogo = nullptr, *mnuShogoFile = nullptr, *mnuFilePageSetup = nullptr,
            *mnuFilePrint = nullptr, *mnuFileExit = nullptr;
    QAction *mnuViewOption = nullptr, *mnuViewCtVersion = nullptr, *mnuShowInpOutp = nullptr;
    QAction *mnuViewCommLog = nullptr;
    QAction *mnuViewHistory = nullptr;
    QAction *mnuModeTrancefer = nullptr, *mnuModeGaibu = nullptr;
    QAction *mnuHelpContents = nullptr, *mnuHelpAbout = nullptr;
};
