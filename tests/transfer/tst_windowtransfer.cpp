// The main window's read, write and verification against the simulated controller, the start-up
// question's first answer, and the program's built-in simulated controller.
#include "app/DemoController.h"
#include "app/StartRoutine.h"
#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "data/QvData.h"
#include "gui/frmMain.h"
#include "gui/frmTrance.h"
#include "link/ControllerLink.h"
#include "mainwindow/MainWindowFixture.h"
#include "support/ScriptedPrompt.h"
#include "support/SessionFixture.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>

namespace {

const QString InsideController = QStringLiteral("ｺﾝﾄﾛｰﾗ内ﾃﾞｰﾀ");

// The program's long-lived objects with its built-in simulated controller.
struct DemoProgram : SessionFixture {
    DemoController demo{link};
};

} // namespace

class TestWindowTransfer : public QObject {
    Q_OBJECT
private slots:
    void init() {
        clearStoredSettings();
        setLangOffset(0);
    }

    void startupFirstAnswerReadsController();
    void editWriteRestartReadBackVerify();
};

// The start-up question answered with its first option reads the simulated controller of the
// program's demo mode and shows its data; the status bar names the simulated port and the
// window's own title stays as it is.
void TestWindowTransfer::startupFirstAnswerReadsController() {
    DemoProgram p;
    QVERIFY(p.demo.isRunning());
    StartRoutine start(p.session);
    start.ask = [&p](QWidget *main, const QString &, const QString &, const QString &,
                     const QString &, qint16) {
        p.demo.showIn(main);
        return qint16(0);
    };

    const auto window = start.run();

    QVERIFY(p.prompt.shown.isEmpty());
    QCOMPARE(control<QComboBox>(*window, "comboVEL1")->currentText(), QStringLiteral("10"));
    QCOMPARE(control<QLineEdit>(*window, "txtPosi1")->text(), QStringLiteral("400"));
    QCOMPARE(control<QLineEdit>(*window, "txtPosi2")->text(), QStringLiteral("200"));
    QCOMPARE(control<QLabel>(*window, "lblShowName")->text(), InsideController);
    QVERIFY(!window->DataChanged());
    QVERIFY(!window->findChild<frmTrance *>()->isVisible());
    QCOMPARE(window->windowTitle(), frmMain::titleText());
    const auto *label =
        window->statusBar()->findChild<QLabel *>(QStringLiteral("lblDemoController"));
    QVERIFY(label);
    QCOMPARE(label->text(), QStringLiteral("模擬コントローラーに接続中（") + p.demo.devicePath() +
                                QStringLiteral("）"));
    // Beside it the port field: the number, the device it reaches and that the port is open.
    const auto *port = window->statusBar()->findChild<QLabel *>(QStringLiteral("lblPortStatus"));
    QVERIFY(port);
    QCOMPARE(port->text(), QStringLiteral("COM1  %1  —  開いています").arg(p.demo.devicePath()));
}

// As a user would: read, change a position, write and restart, read back, verify.
void TestWindowTransfer::editWriteRestartReadBackVerify() {
    DemoProgram p;
    ScriptedPrompt &prompt = p.prompt;
    frmMain window(p.session);
    window.show();
    window.OnlineDataRead();

    control<QLineEdit>(window, "txtPosi1")->setText(QStringLiteral("1234"));
    QVERIFY(window.DataChanged());
    prompt.answers = {MsgAnswer::Ok, MsgAnswer::Ok};
    control<QPushButton>(window, "cmdLoadtoCt")->click();
    QCOMPARE(prompt.texts().last(), QStringLiteral("コントローラーをリセットしました。"));
    QVERIFY(!window.DataChanged());

    control<QLineEdit>(window, "txtPosi1")->setText(QStringLiteral("1"));
    prompt.answers = {MsgAnswer::No};
    control<QPushButton>(window, "cmdGetfromCt")->click();
    QCOMPARE(control<QLineEdit>(window, "txtPosi1")->text(), QStringLiteral("1234"));

    prompt.clear();
    control<QPushButton>(window, "cmdShogoCt")->click();
    QCOMPARE(prompt.texts(), QStringList{QStringLiteral("照合結果－ＯＫ")});
    QVERIFY(control<QPushButton>(window, "cmdShogoCt")->isEnabled());
}

QV_TEST_MAIN(TestWindowTransfer)
#include "tst_windowtransfer.moc"
