// The communication log window: opened from the View menu, following the link while a read runs,
// keeping what happened while it was closed, saving and clearing.
#include "MainWindowFixture.h"
#include "base/ResText.h"
#include "gui/frmCommLog.h"
#include "link/CommLog.h"
#include "sim/ControllerSimulator.h"
#include "support/ScriptedFileDialogs.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

class TestCommLogWindow : public QObject {
    Q_OBJECT
private slots:
    void init() { clearStoredSettings(); }

    void followsTheLinkFromTheViewMenu();
    void saveAndClear_data();
    void saveAndClear();
};

void TestCommLogWindow::followsTheLinkFromTheViewMenu() {
    ControllerSimulator sim;
    MainWindowFixture f;
    f.link.setDeviceOverride(sim.devicePath());
    f.settings.PortNo = 1;
    f.settings.OccupyPort = false;
    auto *entry = f.window->findChild<QAction *>(QStringLiteral("mnuViewCommLog"));
    QVERIFY(entry);
    QCOMPARE(entry->text(), QStringLiteral("通信ログ(&C)"));
    QVERIFY(f.find<QMenu>(QStringLiteral("mnuView"))->actions().contains(entry));

    entry->trigger();
    auto *window = f.window->findChild<frmCommLog *>(QStringLiteral("frmCommLog"));
    QVERIFY(window && window->isVisible());
    QVERIFY(!window->isModal());
    QCOMPARE(window->windowTitle(), QStringLiteral("通信ログ"));

    f.window->OnlineDataRead();
    const QStringList shown = window->txtLog->toPlainText().split(u'\n');
    QCOMPARE(shown.size(), 2 + 6 * 3);
    QVERIFY(shown.first().endsWith(sim.devicePath() + QStringLiteral(" を開きました")));
    QVERIFY(shown[1].endsWith(QStringLiteral(" --> 0CM1<CR><LF>")));
    QVERIFY(shown.last().endsWith(QStringLiteral(" を閉じました")));

    // Closed, the log goes on; opened again, it shows everything, newest at the bottom.
    window->cmdClose->click();
    QVERIFY(!window->isVisible());
    QVERIFY(window->txtLog->toPlainText().isEmpty());
    {
        ControllerScope controller = f.link.controller(ControllerLink::Opening::PortOnly);
        controller.keepPort();
        QVERIFY(controller.checkCommunication().isDone());
    }
    entry->trigger();
    QVERIFY(window->isVisible());
    const QStringList again = window->txtLog->toPlainText().split(u'\n');
    QCOMPARE(again.mid(0, shown.size()), shown);
    QVERIFY(again.last().endsWith(QStringLiteral(" === 正常")));
}

void TestCommLogWindow::saveAndClear_data() {
    QTest::addColumn<bool>("savable");
    QTest::newRow("saved") << true;
    QTest::newRow("folder missing") << false;
}

void TestCommLogWindow::saveAndClear() {
    QFETCH(bool, savable);
    QTemporaryDir dir;
    const QString path = dir.filePath(savable ? QStringLiteral("log.txt") : "none/log.txt");
    CommLog log;
    log.add(CommLog::Event::Sent, "0CM1\r\n");
    ScriptedFileDialogs dialogs;
    dialogs.answers = {path};
    ScriptedPrompt prompt;
    frmCommLog window(log, dialogs, prompt, nullptr);
    window.show();

    window.cmdSave->click();

    QCOMPARE(dialogs.shown.size(), 1);
    QVERIFY(dialogs.shown[0].save);
    QCOMPARE(dialogs.shown[0].options.defaultExt, QStringLiteral("txt"));
    if (savable) {
        QVERIFY(prompt.shown.isEmpty());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), log.lines().first().toUtf8() + "\r\n");
    } else {
        QCOMPARE(prompt.texts(),
                 QStringList{QStringLiteral("%1 に保存できませんでした。").arg(path)});
    }

    window.cmdClear->click();
    QVERIFY(log.lines().isEmpty());
    QVERIFY(window.txtLog->toPlainText().isEmpty());
    log.add(CommLog::Event::Ended, {}, QStringLiteral("x"));
    QVERIFY(window.txtLog->toPlainText().endsWith(QStringLiteral(" === x")));
}

QV_TEST_MAIN(TestCommLogWindow)
#include "tst_commlogwindow.moc"
