// Move mode and the controller menus in the main window, on the simulated controller: what the
// buttons and menu entries send, what the window shows meanwhile and afterwards.
#include "MainWindowFixture.h"

#include "base/ResText.h"
#include "gui/PortStatusLabel.h"
#include "gui/frmCycleTest.h"
#include "print/ScriptedPrintDialogs.h"
#include "sim/ControllerSimulator.h"
#include "support/ScriptedFileDialogs.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>

namespace {

const QString Check = QStringLiteral("0CM1");

// The window on the simulator's port, the port released after each operation.
struct MoveWindowFixture : MainWindowFixture {
    ControllerSimulator sim;

    MoveWindowFixture() {
        settings.PortNo = 1;
        settings.OccupyPort = false;
        link.setDeviceOverride(sim.devicePath());
        sim.model().setMoveTimeScale(0.2);
    }

    // A button or menu entry of the window, by name.
    void press(const QString &name) {
        if (auto *button = find<QPushButton>(name))
            button->click();
        else
            window->findChild<QAction *>(name)->trigger();
    }

    void onLine(int n, std::function<void()> action) {
        QObject::connect(&sim, &ControllerSimulator::lineReceived, window.get(), [this, n, action] {
            if (sim.receivedLines().size() == n)
                action();
        });
    }
};

} // namespace

class TestMoveMode : public QObject {
    Q_OBJECT
private slots:
    void init() { clearStoredSettings(); }

    // A repeat watched and stopped: the controls while it runs, each position as it completes.
    void repeatStopped() {
        MoveWindowFixture f;
        frmMain &w = *f.window;
        control<QPushButton>(w, "cmdModeChange")->click(); // the window's own mode: nothing is sent
        QVERIFY(f.sim.receivedLines().isEmpty() && !f.link.isPortOpen());
        control<QRadioButton>(w, "optPosiNo_2")->click();
        QStringList seen;
        const auto look = [&] {
            seen << QStringLiteral("%1 stop=%2 move=%3 choice=%4 mode=%5")
                        .arg(control<QLabel>(w, "lblKanryoNo")->text())
                        .arg(control<QPushButton>(w, "cmdStop")->isEnabled())
                        .arg(control<QPushButton>(w, "cmdSelectMove")->isEnabled())
                        .arg(control<QGroupBox>(w, "framSelectPosi")->isEnabled())
                        .arg(control<QPushButton>(w, "cmdModeChange")->isEnabled());
        };
        f.onLine(2, [&] {
            look();
            control<QPushButton>(w, "cmdStop")->click();
        });
        f.onLine(3, look);

        control<QPushButton>(w, "cmdSelectMove")->click();

        QCOMPARE(seen, (QStringList{" stop=1 move=0 choice=0 mode=0",
                                    "2 stop=1 move=0 choice=0 mode=0"}));
        QCOMPARE(f.sim.receivedLines(), (QStringList{Check, "0MP2", "0MP1"}));
        QCOMPARE(control<QLabel>(w, "lblKanryoNo")->text(), QStringLiteral("1"));
        QVERIFY(control<QPushButton>(w, "cmdSelectMove")->isEnabled() &&
                control<QGroupBox>(w, "framSelectPosi")->isEnabled() &&
                control<QPushButton>(w, "cmdHome")->isEnabled() &&
                control<QPushButton>(w, "cmdModeChange")->isEnabled());
        QCOMPARE(f.prompt.texts(), QStringList());
    }

    // The cycle test's window: three timed moves with their figures per position, saved as CSV;
    // then a test until Stop, closed during its second move, which lets the feeder end on 1
    // before the window goes.
    void cycleTestWindow() {
        MoveWindowFixture f;
        frmMain &w = *f.window;
        control<QPushButton>(w, "cmdModeChange")->click();
        QTemporaryDir dir;
        ScriptedFileDialogs files;
        files.answers = {dir.filePath("cycle.csv")};
        QStringList figures;
        QTimer::singleShot(0, &w, [&] {
            auto *t = w.findChild<frmCycleTest *>();
            t->setSaveDialogs(files);
            t->spnCount->setValue(3);
            t->cmdStart->click();
            for (int row = 0; row < t->tblSummary->rowCount(); ++row)
                figures << t->tblSummary->item(row, 0)->text() + ":" +
                               t->tblSummary->item(row, 1)->text();
            t->cmdSaveCsv->click();
            f.sim.clearReceived();
            f.onLine(3, [t] { t->close(); });
            t->chkUntilStop->setChecked(true);
            t->cmdStart->click();
        });

        control<QPushButton>(w, "cmdCycleTest")->click();

        QCOMPARE(figures, (QStringList{ResText(34) + ":1", ResText(35) + ":2"}));
        QFile csv(dir.filePath("cycle.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll().count("\r\n"), 4);
        QVERIFY(!w.findChild<frmCycleTest *>());
        QCOMPARE(f.sim.receivedLines(), (QStringList{Check, "0MP2", "0MP1"}));
        QCOMPARE(control<QLabel>(w, "lblKanryoNo")->text(), QStringLiteral("1"));
        QVERIFY(control<QPushButton>(w, "cmdCycleTest")->isEnabled());
        QCOMPARE(f.prompt.texts(), QStringList());
    }

    // The alarm of a refused move, then the reset: number, text and lamp emptied.
    void resetAfterAlarm() {
        MoveWindowFixture f;
        frmMain &w = *f.window;
        control<QPushButton>(w, "cmdModeChange")->click();
        f.sim.model().setAlarm(QStringLiteral("0B"));
        control<QPushButton>(w, "cmdHome")->click();
        // The status bar no longer says the feeder is homing: it shows the port again.
        QCOMPARE(w.statusBar()->currentMessage(), QString());
        QVERIFY(!w.portStatus()->isHidden());
        QCOMPARE(control<QLabel>(w, "lblAlarmNo")->text(), QStringLiteral("0B"));
        QCOMPARE(control<QLabel>(w, "lblErrorComment")->text(), ResText(271));
        QVERIFY(!control<QLabel>(w, "imgAlarmLed")->isHidden());
        f.sim.clearReceived();

        control<QPushButton>(w, "cmdReset")->click();

        QCOMPARE(f.sim.receivedLines(), (QStringList{"0%C", Check}));
        QCOMPARE(control<QLabel>(w, "lblAlarmNo")->text(), QString());
        QCOMPARE(control<QLabel>(w, "lblErrorComment")->text(), QString());
        QVERIFY(control<QLabel>(w, "imgAlarmLed")->isHidden());
        QCOMPARE(control<QLabel>(w, "lblKanryoNo")->text(),
                 QString()); // the refused homing completed nothing
    }

    void entries_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("moveMode");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("completed");
        QTest::addColumn<QString>("busy"); // pressed while the entry's first line waits
        QTest::newRow("home") << "cmdHome" << true << QStringList{Check, "0MP0"} << QStringList()
                              << "原点" << QString();
        QTest::newRow("version") << "mnuViewCtVersion" << false << QStringList{Check, "0RV"}
                                 << QStringList{"このコントローラーのバージョンは、140です。"}
                                 << QString() << QString();
        QTest::newRow("external start mode")
            << "mnuModeGaibu" << false << QStringList{Check, "0CM0"} << QStringList{ResText(229)}
            << QString() << QString();
        QTest::newRow("communication mode") << "mnuModeTrancefer" << false << QStringList{Check}
                                            << QStringList{ResText(230)} << QString() << QString();
        QTest::newRow("Reset during a move")
            << "cmdSelectMove" << true << QStringList{Check, "0MP2"} << QStringList() << "2"
            << "cmdReset";
        QTest::newRow("Version during a reset's wait")
            << "cmdReset" << false << QStringList{"0%C", Check} << QStringList() << QString()
            << "mnuViewCtVersion";
    }

    // Each button and menu entry reaches its operation; the controls come back afterwards. One
    // pressed while another exchange waits sends nothing and says so in the status bar, without
    // a box.
    void entries() {
        QFETCH(QString, entry);
        QFETCH(bool, moveMode);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, messages);
        QFETCH(QString, completed);
        QFETCH(QString, busy);
        MoveWindowFixture f;
        frmMain &w = *f.window;
        if (moveMode) {
            control<QPushButton>(w, "cmdModeChange")->click();
            control<QRadioButton>(w, "optPosiNo_1")->click();
        }
        f.sim.clearReceived();
        QString said;
        if (!busy.isEmpty())
            f.onLine(1, [&] {
                f.press(busy);
                said = f.window->statusBar()->currentMessage();
            });

        f.press(entry);

        QCOMPARE(said, busy.isEmpty() ? QString() : ResText(1642));
        QCOMPARE(f.sim.receivedLines(), lines);
        QCOMPARE(f.prompt.texts(), messages);
        QCOMPARE(control<QLabel>(w, "lblKanryoNo")->text(), completed);
        QVERIFY(control<QPushButton>(w, "cmdModeChange")->isEnabled());
        QCOMPARE(control<QPushButton>(w, "cmdGetfromCt")->isEnabled(), !moveMode);
    }

    // After an operation the keyboard is back on the control that started it, or on the first
    // editing field, never on Reset (where a Space would reset the controller).
    void focusAfterOperations_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<bool>("moveMode");
        QTest::addColumn<QString>("focus");
        QTest::newRow("read") << "cmdGetfromCt" << false << "cmdGetfromCt";
        QTest::newRow("homing") << "cmdHome" << true << "cmdHome";
        QTest::newRow("print from its button's focus") << "mnuFilePrint" << false << "cmdGetfromCt";
        QTest::newRow("version from Reset") << "mnuViewCtVersion" << false << "comboVEL1";
    }
    void focusAfterOperations() {
        QFETCH(QString, start);
        QFETCH(bool, moveMode);
        QFETCH(QString, focus);
        MoveWindowFixture f;
        frmMain &w = *f.window;
        ScriptedPrintDialogs print;
        print.choose = ScriptedPrintDialogs::cancel;
        w.setPrintDialogs(print);
        f.prompt.answerTo[Question::ReadFromController] = MsgAnswer::Yes;
        if (moveMode)
            control<QPushButton>(w, "cmdModeChange")->click();
        QApplication::setActiveWindow(&w);
        QWidget *before = start == "mnuViewCtVersion" ? f.find(QStringLiteral("cmdReset"))
                                                      : f.find(QStringLiteral("cmdGetfromCt"));
        if (auto *button = f.find<QPushButton>(start))
            before = button;
        before->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(before->hasFocus());

        if (auto *button = f.find<QPushButton>(start))
            QTest::keyClick(button, Qt::Key_Space);
        else
            w.findChild<QAction *>(start)->trigger();

        // The window's own focus child: what the keyboard reaches once the window is active
        // again after the operation's dialogs.
        QTRY_COMPARE(w.focusWidget() ? w.focusWidget()->objectName() : QString(), focus);
    }
};

QV_TEST_MAIN(TestMoveMode)
#include "tst_movemode.moc"
