#include "MainWindowFixture.h"

#include "gui/UpDown.h"
#include "support/TestEnvironment.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QWheelEvent>

namespace {

// Gives the window the focus and a field the keyboard, as a user clicking into it would.
void focus(QWidget *field) {
    QApplication::setActiveWindow(field->window());
    field->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(field->hasFocus());
}

} // namespace

// What typing and leaving a field do: the key filters, the Enter targets, the focus-loss checks,
// the up-down controls and the change flag.
class TestFieldInput : public QObject {
    Q_OBJECT
private slots:
    void init() { clearStoredSettings(); }

    // A refused character is named in the status bar for a moment, with the field and the
    // range it takes (as its tool tip says).
    void typing_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("selectAll");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("hint");
        const QString pulse1 =
            QStringLiteral("Position 1 - Position(pulse): digits only (0 to 400).");
        QTest::newRow("digits only") << "txtPosi1"
                                     << "" << false << "1a-.2 3"
                                     << "123" << pulse1;
        QTest::newRow("fourth digit refused") << "txtPosi1"
                                              << "123" << false << "4"
                                              << "123" << pulse1;
        QTest::newRow("selected digits replaced") << "txtPosi1"
                                                  << "123" << true << "9"
                                                  << "9" << QString();
        QTest::newRow("two-digit homing speed")
            << "txtHomeSokudo"
            << "" << false << "167"
            << "16" << QStringLiteral("Homing parameters - Homing VEL: digits only (1 to 16).");
        QTest::newRow("VEL limit")
            << "comboVEL1"
            << "" << false << "123"
            << "12" << QStringLiteral("Position 1 - VEL: digits only (1 to 30).");
        QTest::newRow("VEL selection replaced") << "comboVEL1"
                                                << "12" << true << "3"
                                                << "3" << QString();
        QTest::newRow("spare field takes anything") << "txtHensu2"
                                                    << "" << false << "ab1234"
                                                    << "ab1234" << QString();
    }
    void typing() {
        QFETCH(QString, field);
        QFETCH(QString, before);
        QFETCH(bool, selectAll);
        QFETCH(QString, typed);
        QFETCH(QString, after);
        QFETCH(QString, hint);
        MainWindowFixture f(QStringLiteral("2"));
        f.showParameters(true);
        QWidget *w = f.find(field);
        QVERIFY(w);
        setTextOf(w, before);
        focus(w);
        QLineEdit *edit = qobject_cast<QComboBox *>(w) ? static_cast<QComboBox *>(w)->lineEdit()
                                                       : static_cast<QLineEdit *>(w);
        edit->end(false);
        if (selectAll)
            edit->selectAll();
        QTest::keyClicks(w, typed);
        QCOMPARE(textOf(w), after);
        QCOMPARE(f.window->statusBar()->currentMessage(), hint);
    }

    // The editing keys work as in any text field; steps are key sequences, "=..." typed text.
    void editingKeys_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("after");
        QTest::newRow("Ctrl+A, then a VEL typed over it") << "comboVEL1"
                                                          << "10"
                                                          << "Ctrl+A|=20"
                                                          << "20";
        QTest::newRow("Home, then a digit") << "txtPosi1"
                                            << "12"
                                            << "Home|=3"
                                            << "312";
        QTest::newRow("Shift+Left selects the last digit") << "txtPosi1"
                                                           << "123"
                                                           << "End|Shift+Left|=9"
                                                           << "129";
        QTest::newRow("Ctrl+X cuts, Ctrl+V puts it back") << "txtPosi1Timer"
                                                          << "45"
                                                          << "Ctrl+A|Ctrl+X|=1|Ctrl+V"
                                                          << "145";
        QTest::newRow("Ctrl+C copies") << "txtPosi1"
                                       << "7"
                                       << "Ctrl+A|Ctrl+C|End|Ctrl+V|Ctrl+V"
                                       << "777";
        QTest::newRow("Ctrl+Z takes a digit back") << "txtPosi1"
                                                   << "12"
                                                   << "End|=5|Ctrl+Z"
                                                   << "12";
        QTest::newRow("Backspace") << "txtPosi1"
                                   << "123"
                                   << "End|Backspace"
                                   << "12";
    }
    void editingKeys() {
        QFETCH(QString, field);
        QFETCH(QString, before);
        QFETCH(QString, steps);
        QFETCH(QString, after);
        MainWindowFixture f;
        QWidget *w = f.find(field);
        setTextOf(w, before);
        focus(w);
        for (const QString &step : steps.split(u'|')) {
            if (step.startsWith(u'='))
                QTest::keyClicks(w, step.mid(1));
            else
                QTest::keySequence(w, QKeySequence(step));
        }
        QCOMPARE(textOf(w), after);
        QCOMPARE(f.window->statusBar()->currentMessage(), QString());
    }

    // A paste goes through the field's key rule character by character, by any paste key:
    // digits up to the limit are kept, the rest is refused with the hint.
    void paste_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("refused");
        const int ctrl = int(Qt::ControlModifier), shift = int(Qt::ShiftModifier);
        QTest::newRow("Ctrl+V, digits") << "txtPosi1" << int(Qt::Key_V) << ctrl << "25"
                                        << "125" << false;
        QTest::newRow("Ctrl+V, letters and too many digits")
            << "txtPosi1" << int(Qt::Key_V) << ctrl << "9a9 99"
            << "199" << true;
        QTest::newRow("Shift+Insert in a VEL list")
            << "comboVEL1" << int(Qt::Key_Insert) << shift << "x2"
            << "12" << true;
    }
    void paste() {
        QFETCH(QString, field);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, clipboard);
        QFETCH(QString, after);
        QFETCH(bool, refused);
        MainWindowFixture f;
        QWidget *w = f.find(field);
        setTextOf(w, QStringLiteral("1"));
        f.window->setDataChanged(false);
        QGuiApplication::clipboard()->setText(clipboard);
        focus(w);
        QTest::keyClick(w, Qt::Key_End);
        QTest::keyClick(w, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(textOf(w), after);
        QVERIFY(f.window->DataChanged());
        QCOMPARE(!f.window->statusBar()->currentMessage().isEmpty(), refused);
    }

    // Tab runs along the rows of the moving settings; an up-down control shows that it has the
    // keyboard.
    void tabAlongTheRows() {
        MainWindowFixture f;
        QWidget *acc = f.find(QStringLiteral("UpDown1"));
        const QImage unfocused = acc->grab().toImage();
        focus(f.find(QStringLiteral("comboVEL1")));
        QStringList order{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 9; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(order,
                 (QStringList{"comboVEL1", "UpDown1", "UpDownP1Gen", "txtPosi1Timer", "txtPosi1",
                              "comboVEL2", "UpDown2", "UpDownP2Gen", "txtPosi2Timer", "txtPosi2"}));
        acc->setFocus(Qt::TabFocusReason);
        QVERIFY(acc->grab().toImage() != unfocused);
    }

    void enterTargets_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("parameters");
        QTest::addColumn<bool>("homing");
        QTest::addColumn<QString>("target");
        QTest::newRow("txtPosi2, parameters hidden") << "txtPosi2" << false << false << "comboVEL1";
        QTest::newRow("txtPosi2, parameters shown")
            << "txtPosi2" << true << false << "txtLowKaijoCnt";
        QTest::newRow("VEL1 to its up-down") << "comboVEL1" << false << false << "UpDown1";
        QTest::newRow("pausing time 1") << "txtPosi1Timer" << false << false << "comboVEL2";
        QTest::newRow("tip timer, homing locked") << "txtHensu1" << true << false << "comboVEL1";
        QTest::newRow("tip timer, homing open") << "txtHensu1" << true << true << "txtHomeSokudo";
        QTest::newRow("offset pulses") << "txtOffsetPosi" << true << true << "comboVEL1";
    }
    void enterTargets() {
        QFETCH(QString, field);
        QFETCH(bool, parameters);
        QFETCH(bool, homing);
        QFETCH(QString, target);
        MainWindowFixture f;
        if (parameters)
            f.showParameters(homing);
        QWidget *w = f.find(field);
        setTextOf(w, QStringLiteral("5"));
        focus(w);
        QTest::keyClick(w, Qt::Key_Return);
        QTRY_COMPARE(QApplication::focusWidget()->objectName(), target);
        QCOMPARE(textOf(w), QStringLiteral("5"));
    }

    // A field left with a value out of its range is emptied, with a beep and a hint that names
    // the field and its range.
    void leavingAField_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("hint"); // empty: the value passes
        const auto range = [](const char *label, int low, int high) {
            return QStringLiteral("%1: out of range (%2 to %3), emptied.")
                .arg(QLatin1String(label))
                .arg(low)
                .arg(high);
        };
        QTest::newRow("position 401") << "txtPosi1"
                                      << "401" << range("Position 1 - Position(pulse)", 0, 400);
        QTest::newRow("position 400") << "txtPosi1"
                                      << "400" << QString();
        QTest::newRow("offset pulses 101")
            << "txtOffsetPosi"
            << "101" << range("Homing parameters - Home Position Offset", 1, 100);
        QTest::newRow("offset pulses 100") << "txtOffsetPosi"
                                           << "100" << QString();
        QTest::newRow("sensor 0") << "txtSentanCount"
                                  << "0" << range("Sensor parameters - Supply counter", 1, 255);
        QTest::newRow("VEL 31") << "comboVEL2"
                                << "31" << range("Position 2 - VEL", 1, 30);
        QTest::newRow("VEL 0 passes") << "comboVEL2"
                                      << "0" << QString();
        QTest::newRow("empty VEL passes") << "comboVEL2"
                                          << "" << QString();
        QTest::newRow("empty field passes") << "txtPosi2Timer"
                                            << "" << QString();
    }
    void leavingAField() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, hint);
        const bool emptied = !hint.isEmpty();
        MainWindowFixture f(QStringLiteral("2"));
        f.showParameters(true);
        QWidget *w = f.find(field);
        setTextOf(w, QString());
        focus(w);
        QTest::keyClicks(w, typed);
        f.window->setDataChanged(false);
        f.control<QPushButton>("cmdReset")->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        QCOMPARE(textOf(w), emptied ? QString() : typed);
        QCOMPARE(f.prompt.beeps, emptied ? 1 : 0);
        QCOMPARE(f.window->statusBar()->currentMessage(), hint);
        if (emptied) {
            QTRY_VERIFY(w->hasFocus());       // back into the field
            QVERIFY(f.window->DataChanged()); // emptying is a change
        }
    }

    // A value put there by the program stays until the field is entered and left.
    void valueFromFileStaysUntilLeft() {
        MainWindowFixture f;
        f.copies.working.Pulse1 = 500;
        f.window->ShowQvData();
        QCOMPARE(f.control<QLineEdit>("txtPosi1")->text(), QStringLiteral("500"));
        focus(f.control<QLineEdit>("txtPosi2"));
        f.control<QLineEdit>("txtPosi1")->setFocus(Qt::TabFocusReason);
        QCOMPARE(f.control<QLineEdit>("txtPosi1")->text(), QStringLiteral("500"));
        f.control<QLineEdit>("txtPosi2")->setFocus(Qt::TabFocusReason);
        QCOMPARE(f.control<QLineEdit>("txtPosi1")->text(), QString());
    }

    void changeFlag_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("changed");
        QTest::newRow("typing a digit") << "type" << true;
        QTest::newRow("up-down step") << "step" << true;
        QTest::newRow("VEL stepped by the keys") << "pick" << true;
        QTest::newRow("VEL picked from its drop-down") << "dropDown" << true;
        QTest::newRow("VEL wheeled while in it") << "wheelFocused" << true;
        QTest::newRow("VEL wheeled over, never clicked") << "wheelUnfocused" << false;
        QTest::newRow("VEL typed") << "typeVel" << true;
        QTest::newRow("rotation direction") << "revdir" << false;
        QTest::newRow("spare field") << "spare" << true;
    }
    void changeFlag() {
        QFETCH(QString, action);
        QFETCH(bool, changed);
        MainWindowFixture f;
        frmMain &w = *f.window;
        f.showParameters();
        QVERIFY(!w.DataChanged());
        if (action == "type") {
            focus(control<QLineEdit>(w, "txtPosi1Timer"));
            QTest::keyClicks(control<QLineEdit>(w, "txtPosi1Timer"), QStringLiteral("5"));
        } else if (action == "step") {
            control<UpDown>(w, "UpDown2")->step(1);
        } else if (action == "pick") {
            focus(control<QComboBox>(w, "comboVEL1"));
            QTest::keyClick(control<QComboBox>(w, "comboVEL1"), Qt::Key_Down);
            QCOMPARE(control<QComboBox>(w, "comboVEL1")->currentText(), QStringLiteral(" 2"));
        } else if (action == "dropDown") {
            focus(control<QComboBox>(w, "comboVEL1"));
            control<QComboBox>(w, "comboVEL1")->showPopup();
            QTest::keyClick(control<QComboBox>(w, "comboVEL1")->view(), Qt::Key_Down);
            QTest::keyClick(control<QComboBox>(w, "comboVEL1")->view(), Qt::Key_Return);
            QCOMPARE(control<QComboBox>(w, "comboVEL1")->currentText(), QStringLiteral(" 2"));
        } else if (action.startsWith("wheel")) {
            focus(action == "wheelFocused"
                      ? static_cast<QWidget *>(control<QComboBox>(w, "comboVEL1"))
                      : control<QLineEdit>(w, "txtPosi1"));
            QWheelEvent down(
                QPointF(5, 5), control<QComboBox>(w, "comboVEL1")->mapToGlobal(QPointF(5, 5)),
                QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(control<QComboBox>(w, "comboVEL1"), &down);
            QCOMPARE(control<QComboBox>(w, "comboVEL1")->currentText(),
                     action == "wheelFocused" ? QStringLiteral(" 2") : QStringLiteral(" 1"));
            QVERIFY(control<QLineEdit>(w, "txtPosi1")->hasFocus() == (action == "wheelUnfocused"));
            // Nor can the wheel take the keyboard away to the list it passes over.
            QVERIFY((control<QComboBox>(w, "comboVEL1")->focusPolicy() & Qt::WheelFocus) !=
                    Qt::WheelFocus);
        } else if (action == "typeVel") {
            focus(control<QComboBox>(w, "comboVEL1"));
            QTest::keyClick(control<QComboBox>(w, "comboVEL1"), Qt::Key_Backspace);
        } else if (action == "revdir") {
            control<QCheckBox>(w, "chkRevDir")->setChecked(true);
        } else {
            control<QLineEdit>(w, "txtHensu2")->setText(QStringLiteral("x"));
        }
        QCOMPARE(w.DataChanged(), changed);
    }

    void upDownSteps_data() {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("direction");
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("changed");
        QTest::newRow("up") << "1" << 1 << "2" << true;
        QTest::newRow("down") << "5" << -1 << "4" << true;
        QTest::newRow("not above 9") << "9" << 1 << "9" << false;
        QTest::newRow("not below 1") << "1" << -1 << "1" << false;
        QTest::newRow("value from a file above 9") << "12" << -1 << "8" << true;
    }
    void upDownSteps() {
        QFETCH(QString, shown);
        QFETCH(int, direction);
        QFETCH(QString, after);
        QFETCH(bool, changed);
        QLabel label(shown);
        UpDown spin(&label, 1, 9);
        int steps = 0;
        connect(&spin, &UpDown::stepped, this, [&steps] { ++steps; });
        spin.step(direction);
        QCOMPARE(label.text(), after);
        QCOMPARE(steps, changed ? 1 : 0);
    }
};

QV_TEST_MAIN(TestFieldInput)
#include "tst_fieldinput.moc"
