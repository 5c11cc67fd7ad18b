#include "MainWindowFixture.h"

#include "base/ResText.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

// "name=on" or "name=off" for each control; own: the control's own setting, whatever the frame
// around it says.
QStringList enabledStates(const MainWindowFixture &f, const QStringList &names, bool own = false) {
    QStringList states;
    for (const QString &name : names) {
        if (auto *menu = f.window->findChild<QMenu *>(name))
            states << name + (menu->menuAction()->isEnabled() ? "=on" : "=off");
        else if (QWidget *w = f.find(name))
            states << name + ((own ? w->isEnabledTo(w->parentWidget()) : w->isEnabled()) ? "=on"
                                                                                         : "=off");
        else if (auto *a = f.window->findChild<QAction *>(name))
            states << name + (a->isEnabled() ? "=on" : "=off");
        else
            states << name + "=missing";
    }
    return states;
}

QStringList expectStates(const QStringList &names, bool on) {
    QStringList states;
    for (const QString &name : names)
        states << name + (on ? "=on" : "=off");
    return states;
}

const QStringList moveControls = {"frmMove",      "framSelectPosi", "optPosiNo_0", "optPosiNo_1",
                                  "optPosiNo_2",  "cmdSelectMove",  "cmdStop",     "cmdHome",
                                  "lblKanryoiti", "lblKanryoNo",    "lblMoveMode"};
const QStringList editControls = {
    "lblEditMode",     "framPosiData",    "framDousaPara",    "lblPosi1",      "lblPosi2",
    "comboVEL1",       "comboVEL2",       "lblPosi1Acc",      "lblPosi2Acc",   "UpDown1",
    "UpDown2",         "lblPosi1Gensoku", "lblPosi2Gensoku",  "UpDownP1Gen",   "UpDownP2Gen",
    "txtPosi1",        "txtPosi2",        "txtPosi1Timer",    "txtPosi2Timer", "lblVel",
    "lblAcc",          "lblGensoku",      "lblPosition",      "lblTimer",      "cmdFileOpen",
    "cmdSaveFile",     "cmdGetfromCt",    "cmdLoadtoCt",      "cmdShogoFile",  "cmdShogoCt",
    "mnuFileNew",      "mnuFileOpen",     "mnuFileGetfromCt", "mnuFileSave",   "mnuFileSaveAs",
    "mnuFileLoadtoCt", "mnuFileShogo",    "mnuFilePageSetup", "mnuFilePrint",  "mnuViewCtVersion",
    "mnuShowInpOutp",  "mnuModeChange"};
const QStringList sensorControls = {
    "framParameta",    "txtSentanCount",  "lblSentanCount", "txtNoWorkCount", "lblNoWorkCount",
    "txtRestartDelay", "lblRestartDelay", "txtLowKaijoCnt", "lblLowKaijoCnt", "txtXXXCnt",
    "lblXXXCnt",       "txtHensu1",       "lblHensu1"};
const QStringList homingControls = {"framHomePara",    "txtHomeSokudo", "lblHomeSokudo",
                                    "txtHomePosi",     "lblHomePosi",   "txtOffsetSokudo",
                                    "lblOffsetSokudo", "txtOffsetPosi", "lblOffsetPosi"};
const QStringList keptControls = {"cmdModeChange",    "cmdReset",     "mnuViewOption",
                                  "mnuModeTrancefer", "mnuModeGaibu", "mnuHelpContents",
                                  "mnuHelpAbout",     "mnuFileExit"};

} // namespace

// The main window as a shell: its state at load, the modes, the brackets, the parameter display,
// the status display and the close sequence.
class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void init() { clearStoredSettings(); }
    void cleanup() { setLangOffset(0); }

    void stateAtLoad() {
        MainWindowFixture f;
        frmMain &w = *f.window;
        QCOMPARE(w.windowTitle(), QStringLiteral("QV PC-Software Ver1.40"));
        QVERIFY(f.heightIs(6585));
        QVERIFY(w.inEditMode());
        QVERIFY(!w.DataChanged());
        QVERIFY(!w.ShowParameters());
        QVERIFY(!w.HomeParamsEditable());
        QVERIFY(control<QGroupBox>(w, "framParameta")->isHidden() &&
                !control<QGroupBox>(w, "framParameta")->isEnabled());
        QVERIFY(control<QGroupBox>(w, "framHomePara")->isHidden() &&
                !control<QGroupBox>(w, "framHomePara")->isEnabled());
        QVERIFY(!w.ParametersActive());
        QVERIFY(control<QRadioButton>(w, "optPosiNo_0")->isChecked());
        QCOMPARE(enabledStates(f, moveControls), expectStates(moveControls, false));
        QCOMPARE(enabledStates(f, editControls), expectStates(editControls, true));
        QVERIFY(control<QLabel>(w, "lblEditMode")->font().bold() &&
                !control<QLabel>(w, "lblMoveMode")->font().bold());
        QVERIFY(control<QGroupBox>(w, "framPosiData")->font().bold() &&
                !control<QGroupBox>(w, "frmMove")->font().bold());
        QVERIFY(!control<QLineEdit>(w, "txtPosi1")->font().bold()); // the caption only
        QCOMPARE(control<QLabel>(w, "lblShowName")->text(), QStringLiteral("新規作成"));
        QCOMPARE(control<QLabel>(w, "lblErrorComment")->text(), QStringLiteral("No Error"));
        QVERIFY(control<QLabel>(w, "imgPortGreen")->isHidden() &&
                !control<QLabel>(w, "imgPortWhite")->isHidden());
        QVERIFY(control<QLabel>(w, "imgAlarmLed")->isHidden());
        QVERIFY(control<QLabel>(w, "lblKanryoNo")->text().isEmpty());
        QVERIFY(!control<QCheckBox>(w, "chkChangeDirect")->isChecked());
        QVERIFY(!control<QCheckBox>(w, "chkRevDir")->isEnabled() &&
                !control<QGroupBox>(w, "framChangeDirect")->isEnabled());
    }

    void velocityLists() {
        MainWindowFixture f;
        for (QComboBox *combo : controls<QComboBox>(*f.window, {"comboVEL1", "comboVEL2"})) {
            QCOMPARE(combo->count(), 30);
            for (int i = 0; i < 30; ++i)
                QCOMPARE(combo->itemText(i), u' ' + QString::number(i + 1));
            QCOMPARE(combo->currentText(), QStringLiteral(" 1"));
        }
    }

    // Load zeroes four items in both copies and leaves the rest as they were.
    void loadZeroesFourItems() {
        SessionFixture f;
        QvDataCopies &copies = f.copies;
        for (QvData *d : {&copies.working, &copies.read}) {
            d->RevDir = d->SupplyCounter = d->RestartDelay = d->NoWorkCounter = 1;
            d->SeparateTimer = d->Vel1 = 7;
        }
        frmMain window(f.session);
        for (const QvData *d : {&copies.working, &copies.read}) {
            QCOMPARE(d->RevDir + d->SupplyCounter + d->RestartDelay + d->NoWorkCounter, 0);
            QCOMPARE(d->SeparateTimer, qint16(7));
            QCOMPARE(d->Vel1, qint16(7));
        }
    }

    void texts_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("modeButton");
        QTest::addColumn<QString>("fileMenu");
        QTest::addColumn<QString>("offsetTip");
        QTest::addColumn<QString>("spareTip");
        QTest::newRow("Japanese") << "1"
                                  << "モード切替"
                                  << "ファイル(&F)"
                                  << "設定範囲：1～100　初期値：2"
                                  << "SP1（未使用）";
        QTest::newRow("English") << "2"
                                 << "Change Mode"
                                 << "File(&F)"
                                 << "Integer: 1 to 100 / Init:2"
                                 << "SP1(unused)";
    }
    void texts() {
        QFETCH(QString, language);
        QFETCH(QString, modeButton);
        QFETCH(QString, fileMenu);
        QFETCH(QString, offsetTip);
        QFETCH(QString, spareTip);
        MainWindowFixture f(language);
        QCOMPARE(f.control<QPushButton>("cmdModeChange")->text(), modeButton);
        QCOMPARE(f.control<QMenu>("mnuFile")->menuAction()->text(), fileMenu);
        QCOMPARE(f.control<QLineEdit>("txtOffsetPosi")->toolTip(), offsetTip);
        QCOMPARE(f.control<QLabel>("lblHensu2")->toolTip(), spareTip);
        QCOMPARE(f.control<QLabel>("lblPosi1Acc")->text(),
                 QStringLiteral("1")); // design caption kept
        QCOMPARE(f.control<QAction>("mnuFileSave")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    }

    void modeSwitch_data() {
        QTest::addColumn<bool>("parameters");
        QTest::addColumn<bool>("homing");
        QTest::newRow("parameters hidden") << false << false;
        QTest::newRow("parameters shown") << true << false;
        QTest::newRow("homing editable") << true << true;
    }
    void modeSwitch() {
        QFETCH(bool, parameters);
        QFETCH(bool, homing);
        MainWindowFixture f;
        frmMain &w = *f.window;
        if (parameters)
            f.showParameters(homing);

        control<QPushButton>(w, "cmdModeChange")->click();
        QVERIFY(!w.inEditMode());
        QCOMPARE(enabledStates(f, moveControls), expectStates(moveControls, true));
        QCOMPARE(enabledStates(f, editControls), expectStates(editControls, false));
        QCOMPARE(enabledStates(f, keptControls), expectStates(keptControls, true));
        QVERIFY(control<QLabel>(w, "lblMoveMode")->font().bold() &&
                !control<QLabel>(w, "lblEditMode")->font().bold());
        QCOMPARE(control<QLabel>(w, "lblMoveMode")->backgroundRole(), QPalette::Base);
        QCOMPARE(control<QLabel>(w, "lblEditMode")->backgroundRole(), QPalette::Button);
        QVERIFY(control<QGroupBox>(w, "frmMove")->font().bold() &&
                !control<QGroupBox>(w, "framPosiData")->font().bold());
        QCOMPARE(enabledStates(f, sensorControls), expectStates(sensorControls, false));
        QCOMPARE(enabledStates(f, homingControls), expectStates(homingControls, false));
        QVERIFY(!w.ParametersActive());

        control<QPushButton>(w, "cmdModeChange")->click();
        QVERIFY(w.inEditMode());
        QCOMPARE(enabledStates(f, moveControls), expectStates(moveControls, false));
        QCOMPARE(enabledStates(f, editControls), expectStates(editControls, true));
        QCOMPARE(enabledStates(f, keptControls), expectStates(keptControls, true));
        QCOMPARE(control<QLabel>(w, "lblEditMode")->backgroundRole(), QPalette::Base);
        QCOMPARE(enabledStates(f, sensorControls), expectStates(sensorControls, parameters));
        QCOMPARE(enabledStates(f, homingControls), expectStates(homingControls, homing));
        QCOMPARE(w.ParametersActive(), parameters);
    }

    void brackets_data() {
        QTest::addColumn<QString>("bracket");
        QTest::addColumn<QStringList>("controls");
        QTest::newRow("CMDBTN") << "CMDBTN"
                                << QStringList{"cmdFileOpen",  "cmdSaveFile", "cmdLoadtoCt",
                                               "cmdGetfromCt", "cmdShogoCt",  "cmdShogoFile",
                                               "cmdModeChange"};
        QTest::newRow("Menyu") << "Menyu" << QStringList{"mnuFileNew",       "mnuFileOpen",
                                                         "mnuFileGetfromCt", "mnuFileSave",
                                                         "mnuFileSaveAs",    "mnuFileLoadtoCt",
                                                         "mnuFilePageSetup", "mnuFilePrint"};
        QTest::newRow("MoveCMDBTN")
            << "MoveCMDBTN"
            << QStringList{"cmdHome", "cmdSelectMove", "cmdModeChange", "framSelectPosi"};
    }
    void brackets() {
        QFETCH(QString, bracket);
        QFETCH(QStringList, controls);
        MainWindowFixture f;
        frmMain &w = *f.window;
        if (bracket == "MoveCMDBTN")
            w.EnterMoveMode();
        QStringList all = editControls + moveControls + keptControls;
        all.removeDuplicates();
        QStringList others = all;
        for (const QString &c : controls)
            others.removeAll(c);
        const QStringList othersBefore = enabledStates(f, others, true);

        using Operation = void (frmMain::*)();
        const QHash<QString, std::pair<Operation, Operation>> operations = {
            {"CMDBTN", {&frmMain::CMDBTN_Muko, &frmMain::CMDBTN_Yuko}},
            {"Menyu", {&frmMain::Menyu_Muko, &frmMain::Menyu_Yuko}},
            {"MoveCMDBTN", {&frmMain::MoveCMDBTN_Muko, &frmMain::MoveCMDBTN_Yuko}}};
        const auto [muko, yuko] = operations.value(bracket);

        (w.*muko)();
        QCOMPARE(enabledStates(f, controls), expectStates(controls, false));
        QCOMPARE(enabledStates(f, others, true), othersBefore);
        if (bracket == "MoveCMDBTN")
            QVERIFY(control<QPushButton>(w, "cmdStop")
                        ->isEnabled()); // a running move can still be stopped

        (w.*yuko)();
        QCOMPARE(enabledStates(f, controls), expectStates(controls, true));
        QCOMPARE(enabledStates(f, others, true), othersBefore);
    }

    // Switching the display off in Move mode and on again.
    void parameterDisplayInMoveMode() {
        MainWindowFixture f;
        frmMain &w = *f.window;
        f.showParameters(true);
        QVERIFY(f.heightIs(8950));
        QVERIFY(!control<QGroupBox>(w, "framParameta")->isHidden() &&
                !control<QGroupBox>(w, "framHomePara")->isHidden());
        w.EnterMoveMode();

        w.setShowParameters(false);
        w.applyParameterDisplay();
        QVERIFY(f.heightIs(6585));
        QVERIFY(control<QGroupBox>(w, "framParameta")->isHidden() &&
                !control<QGroupBox>(w, "framParameta")->isEnabled());
        QVERIFY(control<QGroupBox>(w, "framHomePara")->isHidden() &&
                !control<QGroupBox>(w, "framHomePara")->isEnabled());

        w.setShowParameters(true);
        w.applyParameterDisplay();
        QVERIFY(f.heightIs(8950));
        QVERIFY(control<QGroupBox>(w, "framParameta")->isEnabled());    // even in Move mode
        QVERIFY(!control<QLineEdit>(w, "txtSentanCount")->isEnabled()); // as the mode left it
        QVERIFY(!control<QGroupBox>(w, "framHomePara")->isHidden());
    }

    void homingFieldColours() {
        MainWindowFixture f;
        frmMain &w = *f.window;
        f.showParameters(true);
        for (QLineEdit *field : controls<QLineEdit>(
                 w, {"txtHomeSokudo", "txtHomePosi", "txtOffsetSokudo", "txtOffsetPosi"})) {
            QVERIFY(field->isEnabled());
            QCOMPARE(field->palette().color(QPalette::Base), QColor(255, 255, 255));
        }
        w.HomePara_Muko();
        QVERIFY(!control<QGroupBox>(w, "framHomePara")->isEnabled());
        for (QLineEdit *field : controls<QLineEdit>(
                 w, {"txtHomeSokudo", "txtHomePosi", "txtOffsetSokudo", "txtOffsetPosi"}))
            QCOMPARE(field->palette().color(QPalette::Base), QColor(224, 224, 224));
        QVERIFY(!control<QLabel>(w, "lblOffsetPosi")->isEnabled());
    }

    void rotationGate_data() {
        QTest::addColumn<MsgAnswer>("answer");
        QTest::addColumn<bool>("opened");
        QTest::newRow("Yes") << MsgAnswer::Yes << true;
        QTest::newRow("No") << MsgAnswer::No << false;
    }
    void rotationGate() {
        QFETCH(MsgAnswer, answer);
        QFETCH(bool, opened);
        MainWindowFixture f;
        frmMain &w = *f.window;
        f.showParameters();
        control<QCheckBox>(w, "chkRevDir")->setChecked(true);
        f.prompt.answers = {answer};
        control<QCheckBox>(w, "chkChangeDirect")->click();
        QCOMPARE(f.prompt.shown.size(), 1);
        QCOMPARE(
            f.prompt.shown[0].text,
            QStringLiteral("通常の使用において、回転方向を反対方向に変更すると、パーツフィーダー"
                           "が故障します。\r\n回転方向の設定は、通常の使用では変更しないで下さい。"
                           "\r\n回転方向の設定を変更しますか？"));
        QVERIFY(f.prompt.shown[0].question == Question::ReverseRotation);
        QCOMPARE(f.prompt.shown[0].buttons, MsgButtons::YesNo);
        QCOMPARE(f.prompt.shown[0].icon, MsgIcon::Critical);
        QCOMPARE(control<QCheckBox>(w, "chkChangeDirect")->isChecked(), opened);
        QCOMPARE(control<QCheckBox>(w, "chkRevDir")->isEnabled(), opened);
        QCOMPARE(control<QGroupBox>(w, "framChangeDirect")->isEnabled(), opened);
        QVERIFY(control<QCheckBox>(w, "chkRevDir")->isChecked()); // the value is not touched
        QVERIFY(!w.DataChanged());
        if (opened) {
            control<QCheckBox>(w, "chkChangeDirect")->click(); // closing the gate asks nothing
            QCOMPARE(f.prompt.shown.size(), 1);
            QVERIFY(!control<QCheckBox>(w, "chkRevDir")->isEnabled());
        }
    }
};

QV_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
