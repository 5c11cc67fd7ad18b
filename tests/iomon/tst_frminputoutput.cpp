// The I/O monitor window on the simulated controller: its state when it loads, the lamps while
// monitoring, switching an output by double-click, a failure, and opening it from the menu.
#include "IoFixture.h"
#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "gui/IoTimelineChart.h"
#include "gui/Twips.h"
#include "gui/frmInputOutput.h"
#include "gui/frmMain.h"
#include "support/ScriptedFileDialogs.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

namespace {

// The window beside a stand-in main window, shown as the menu shows it.
struct WindowFixture : IoFixture {
    QWidget main;
    std::unique_ptr<frmInputOutput> window;

    ScriptedFileDialogs dialogs;
    QTemporaryDir dir;

    WindowFixture() {
        main.move(120, 90);
        main.resize(400, 300);
        main.show();
        window = std::make_unique<frmInputOutput>(monitor, &main);
        window->setRecordDialogs(dialogs);
        window->show();
    }

    QStringList redShown() const {
        QStringList red;
        for (int i = 0; i < IoSignals::Count; ++i) {
            if (window->redLamp(i)->isVisibleTo(window.get()))
                red.append(Names.at(i));
        }
        return red;
    }
};

} // namespace

class TestFrmInputOutput : public QObject {
    Q_OBJECT
private slots:
    void init() {
        clearStoredSettings();
        setLangOffset(0);
    }

    void load_data();
    void load();
    void closedOnlyByClose_data();
    void closedOnlyByClose();
    void monitorSwitchAndStop();
    void keyboardSwitchesAnOutput();
    void lampsNameTheirTerminalNames();
    void failedReadOffersStart();
    void chartAndRecording();
    void recordNeedsVcdOrCsv_data();
    void recordNeedsVcdOrCsv();
    void openedModallyFromTheMenu();
};

void TestFrmInputOutput::load_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("close");
    QTest::addColumn<QString>("inputs");
    QTest::newRow("Japanese") << "1" << QStringList{"動作指令",    "連続運転",     "整列停止",
                                                    "先端ﾜｰｸ検出", "ﾚｰﾙﾜｰｸ検出",   "停止中",
                                                    "取り出しOK",  "切り出しSOL.", "ﾜｰｸ不足"}
                              << "モニター開始"
                              << "閉じる"
                              << "入力";
    QTest::newRow("English") << "2" << QStringList{"RUN",        "CONT",        "PAUSE",
                                                   "TIP SENSOR", "RAIL SENSOR", "IIN-P",
                                                   "OK",         "ESCAPE SOL.", "EMPTY"}
                             << "Start Monitor"
                             << "Close"
                             << "Inputs";
}

void TestFrmInputOutput::load() {
    QFETCH(QString, language);
    QFETCH(QStringList, labels);
    QFETCH(QString, start);
    QFETCH(QString, close);
    QFETCH(QString, inputs);
    StoredSettings::writeText(QStringLiteral("Language"), language);
    StoredSettings stored;
    stored.ReadLanguage();
    setLangOffset(stored.LangOffset);
    WindowFixture f;
    frmInputOutput &w = *f.window;
    QCOMPARE(w.windowTitle(), QStringLiteral("Input/Output"));
    const char *names[] = {"lblUnten", "lblKyosei",     "lblTeisoku", "lblWorkKen", "lblManpaiKen",
                           "lblStop",  "lblToridasiOk", "lblManpai",  "lblAlarm"};
    for (int i = 0; i < IoSignals::Count; ++i)
        QCOMPARE(w.findChild<QLabel *>(QLatin1String(names[i]))->text(), labels.at(i));
    QCOMPARE(w.cmdMonitor->text(), start);
    QCOMPARE(w.cmdTojiru->text(), close);
    QCOMPARE(w.framInput->title(), inputs);
    QVERIFY(w.cmdTojiru->isEnabled());
    QVERIFY(f.redShown().isEmpty());
    QVERIFY(w.findChild<QLabel *>(QStringLiteral("imgManpai"))->isVisible());
    // 500 twips right of and below the main window's corner.
    QCOMPARE(w.pos(),
             f.main.frameGeometry().topLeft() + QPoint(Twips::toPixels(500), Twips::toPixels(500)));
    QVERIFY(f.sim.receivedLines().isEmpty());
}

void TestFrmInputOutput::closedOnlyByClose_data() {
    QTest::addColumn<bool>("monitoring");
    QTest::newRow("stopped") << false;
    QTest::newRow("monitoring") << true;
}

// The close box never closes the window; Escape closes it as Close does, so never while
// monitoring runs. Space on Start/Stop Monitor leaves the keyboard on that button, so a second
// Space stops again (it used to move on to Record... and open its file dialog).
void TestFrmInputOutput::closedOnlyByClose() {
    QFETCH(bool, monitoring);
    WindowFixture f;
    frmInputOutput &w = *f.window;
    QApplication::setActiveWindow(&w);
    w.cmdMonitor->setFocus(Qt::TabFocusReason);
    if (monitoring)
        QTest::keyClick(w.cmdMonitor, Qt::Key_Space);
    QCOMPARE(w.cmdMonitor->text(), ResText(monitoring ? 422 : 420));
    QCOMPARE(w.cmdTojiru->isEnabled(), !monitoring);
    w.close();
    QTest::keyClick(&w, Qt::Key_Escape);
    QCOMPARE(w.isVisible(), monitoring);
    if (monitoring) {
        QCOMPARE(QApplication::focusWidget(), w.cmdMonitor);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(w.cmdMonitor->text(), ResText(420));
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(!w.isVisible());
    }
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(f.dialogs.shown.size(), 0);
}

void TestFrmInputOutput::monitorSwitchAndStop() {
    WindowFixture f;
    frmInputOutput &w = *f.window;
    f.hold(0x08, 0x40, 0x06);
    QTest::mouseClick(w.cmdMonitor, Qt::LeftButton);
    QCOMPARE(w.cmdMonitor->text(), ResText(422));
    QVERIFY(!w.cmdTojiru->isEnabled());
    QTRY_COMPARE(f.redShown(), (QStringList{"pause", "tip", "rail", "take-out", "no-work"}));

    // The red lamp of no work lies over its white one and takes the double-click; an input's
    // lamp does not react.
    QTest::mouseDClick(w.findChild<QLabel *>(QStringLiteral("imgAlarmRed")), Qt::LeftButton);
    QTest::mouseDClick(w.findChild<QLabel *>(QStringLiteral("imgUntenWhite")), Qt::LeftButton);
    QTRY_COMPARE(f.redShown(), (QStringList{"pause", "tip", "rail", "take-out"}));
    QCOMPARE(f.received(QStringLiteral("0WS")), 1);
    QVERIFY(f.sim.receivedLines().contains(QStringLiteral("0WS40")));
    // The white lamp of escape switches it on.
    QTest::mouseDClick(w.findChild<QLabel *>(QStringLiteral("imgManpai")), Qt::LeftButton);
    QTRY_VERIFY(f.redShown().contains(QStringLiteral("escape")));
    QVERIFY(f.sim.receivedLines().contains(QStringLiteral("0WSC0")));

    QTest::mouseClick(w.cmdMonitor, Qt::LeftButton);
    QCOMPARE(w.cmdMonitor->text(), ResText(420));
    QVERIFY(w.cmdTojiru->isEnabled());
    const QStringList lamps = f.redShown();
    const qsizetype lines = f.sim.receivedLines().size();
    QTest::qWait(3 * IoMonitor::PollIntervalMs);
    QCOMPARE(f.sim.receivedLines().size(), lines);
    QCOMPARE(f.redShown(), lamps);
    QVERIFY(f.prompt.shown.isEmpty());
}

// Tab reaches each output's lamp (and no input's); Space or Enter switches it as a double-click
// does, and the lamp shows that it has the keyboard.
void TestFrmInputOutput::keyboardSwitchesAnOutput() {
    WindowFixture f;
    frmInputOutput &w = *f.window;
    f.hold(0x00, 0x00, 0x00);
    QTest::mouseClick(w.cmdMonitor, Qt::LeftButton);
    QApplication::setActiveWindow(&w);
    QWidget *escape = w.redLamp(7)->parentWidget();
    QWidget *stop = w.redLamp(5)->parentWidget();
    const QImage unfocused = escape->grab().toImage();
    QStringList reached;
    w.cmdRecord->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < 8; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const QVariant signal = QApplication::focusWidget()->property("ioSignal");
        if (signal.isValid())
            reached << IoFixture::Names.at(signal.toInt());
    }
    reached.removeDuplicates(); // Tab comes round again
    QCOMPARE(reached, (QStringList{"stopped", "take-out", "escape", "no-work"}));

    escape->setFocus(Qt::TabFocusReason);
    QVERIFY(escape->grab().toImage() != unfocused);
    QTest::keyClick(escape, Qt::Key_Space);
    QTRY_VERIFY(f.redShown().contains(QStringLiteral("escape")));
    QTest::keyClick(stop, Qt::Key_Return);
    QTRY_VERIFY(f.redShown().contains(QStringLiteral("stopped")));
    QTest::mouseClick(w.cmdMonitor, Qt::LeftButton);
}

// Each lamp's tool tip names the signal as qvpc-cli does (the English labels differ from it).
void TestFrmInputOutput::lampsNameTheirTerminalNames() {
    setLangOffset(10000);
    WindowFixture f;
    QCOMPARE(f.window->redLamp(0)->toolTip(), QStringLiteral("Name in qvpc-cli: run"));
    QCOMPARE(f.window->whiteLamp(7)->toolTip(),
             QStringLiteral("Double-click, Space or Enter to switch\nName in qvpc-cli: escape"));
    QCOMPARE(f.window->redLamp(8)->parentWidget()->toolTip(),
             QStringLiteral("Double-click, Space or Enter to switch\nName in qvpc-cli: no-work"));
}

void TestFrmInputOutput::failedReadOffersStart() {
    WindowFixture f;
    frmInputOutput &w = *f.window;
    SimFault fault;
    fault.match = QStringLiteral("0RD20");
    fault.times = 1;
    fault.errorCode = QStringLiteral("01");
    f.sim.addFault(fault);
    QTest::mouseClick(w.cmdMonitor, Qt::LeftButton);
    QTRY_COMPARE(w.cmdMonitor->text(), ResText(420));
    QVERIFY(w.cmdTojiru->isEnabled());
    QCOMPARE(f.prompt.shown.size(), 1);
    // One click starts monitoring again.
    f.hold(0x00, 0x80, 0x06);
    QTest::mouseClick(w.cmdMonitor, Qt::LeftButton);
    QCOMPARE(w.cmdMonitor->text(), ResText(422));
    QTRY_VERIFY(f.redShown().contains(QStringLiteral("escape")));
    QTest::mouseClick(w.cmdMonitor, Qt::LeftButton);
}

void TestFrmInputOutput::chartAndRecording() {
    WindowFixture f;
    frmInputOutput &w = *f.window;
    // Below the lamps, above the buttons.
    QVERIFY(w.chartTimeline->isVisible());
    QVERIFY(w.chartTimeline->geometry().top() >= w.framInput->geometry().bottom());
    QVERIFY(w.cmdRecord->geometry().top() >= w.chartTimeline->geometry().bottom());
    QCOMPARE(w.cmdRecord->text(), QStringLiteral("記録..."));

    // Recording asked for before the start takes every read of the run.
    const QString path = f.dir.filePath(QStringLiteral("run.csv"));
    f.dialogs.answers = {path};
    QTest::mouseClick(w.cmdRecord, Qt::LeftButton);
    QCOMPARE(w.cmdRecord->text(), QStringLiteral("記録停止"));
    f.hold(0x08, 0x40, 0x06);
    QTest::mouseClick(w.cmdMonitor, Qt::LeftButton);
    QTRY_VERIFY(f.received(QStringLiteral("0RD20")) >= 3);
    f.hold(0x08, 0xC0, 0x06);
    const int before = f.received(QStringLiteral("0RD20"));
    QTRY_VERIFY(f.received(QStringLiteral("0RD20")) >= before + 3);
    QTest::mouseClick(w.cmdMonitor, Qt::LeftButton);
    // Stopping monitoring ends the recording; the chart keeps the minute it shows.
    QCOMPARE(w.cmdRecord->text(), QStringLiteral("記録..."));
    const qint64 end = w.timeline().endMs();
    QTest::qWait(3 * IoMonitor::PollIntervalMs);
    QCOMPARE(w.timeline().endMs(), end);

    QVERIFY(w.chartTimeline->countsText(IoSignals::Escape).startsWith(QStringLiteral("1 回")));
    QVERIFY(w.chartTimeline->countsText(IoSignals::Run).startsWith(QStringLiteral("0 回")));
    QVERIFY(w.chartTimeline->countsText(IoSignals::NoWork).endsWith(QStringLiteral("100%")));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> rows = file.readAll().trimmed().split('\n');
    QCOMPARE(rows.size() - 1, f.received(QStringLiteral("0RD20")));
    QVERIFY(rows.last().endsWith(",1,1,1"));
    QVERIFY(f.prompt.shown.isEmpty());
}

void TestFrmInputOutput::recordNeedsVcdOrCsv_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("told");
    QTest::newRow("cancelled") << "" << QStringList{};
    QTest::newRow("another extension") << "run.txt" << QStringList{ResText(1458)};
}

void TestFrmInputOutput::recordNeedsVcdOrCsv() {
    QFETCH(QString, name);
    QFETCH(QStringList, told);
    WindowFixture f;
    frmInputOutput &w = *f.window;
    f.dialogs.answers = {name.isEmpty() ? QString() : f.dir.filePath(name)};
    QTest::mouseClick(w.cmdRecord, Qt::LeftButton);
    QCOMPARE(f.prompt.texts(), told);
    QCOMPARE(w.cmdRecord->text(), ResText(1454));
    QVERIFY(QDir(f.dir.path()).isEmpty());
}

void TestFrmInputOutput::openedModallyFromTheMenu() {
    IoFixture f;
    frmMain main(f.session);
    main.show();
    f.link.setDeviceOverride(f.sim.devicePath());
    QString seen;
    bool modal = false;
    QPoint offset;
    QTimer::singleShot(100, this, [&] {
        auto *w = qobject_cast<frmInputOutput *>(QApplication::activeModalWidget());
        if (!w) {
            // Something else came up: end it, so that the test fails instead of waiting.
            if (auto *other = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                other->done(0);
            return;
        }
        seen = w->objectName();
        modal = w->isModal();
        offset = w->pos() - main.frameGeometry().topLeft();
        QTest::mouseClick(w->cmdTojiru, Qt::LeftButton);
    });
    main.findChild<QAction *>(QStringLiteral("mnuShowInpOutp"))->trigger();
    QCOMPARE(seen, QStringLiteral("frmInputOutput"));
    QVERIFY(modal);
    QCOMPARE(offset, QPoint(Twips::toPixels(500), Twips::toPixels(500)));
    QVERIFY(!QApplication::activeModalWidget());
}

QV_TEST_MAIN(TestFrmInputOutput)
#include "tst_frminputoutput.moc"
