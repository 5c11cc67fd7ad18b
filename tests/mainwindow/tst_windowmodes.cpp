// The main window's modes without the window: which of its parts the user can reach after each
// step (the mode button, the brackets of running operations, the options dialog's parameter
// display).
#include "session/WindowModes.h"
#include "support/TestEnvironment.h"

#include <QObject>

namespace {

using Part = WindowModes::Part;
using Bracket = WindowModes::Bracket;

// One step as the window takes it.
void take(WindowModes &m, const QString &step) {
    // The options dialog's OK with the parameter display on, then the window applying it.
    const auto display = [&m](bool shown, bool homing) {
        m.setShowParameters(shown);
        if (shown) {
            m.setHomeParamsEditable(homing);
            m.setHomingFields(homing);
        }
        m.applyParameterDisplay();
    };
    // The brackets of a file or controller operation.
    const auto holdData = [&m](bool held) {
        m.hold(Bracket::DataButtons, held);
        m.hold(Bracket::FileMenu, held);
    };
    const QHash<QString, std::function<void()>> steps = {
        {"mode button", [&] { m.toggle(); }},
        {"operation", [&] { holdData(true); }},
        {"operation ends", [&] { holdData(false); }},
        {"print", [&] { m.hold(Bracket::DataButtons, true); }},
        {"move", [&] { m.hold(Bracket::Move, true); }},
        {"move ends", [&] { m.hold(Bracket::Move, false); }},
        {"parameters", [&] { display(true, false); }},
        {"parameters and homing", [&] { display(true, true); }},
        {"no parameters", [&] { display(false, false); }},
        {"homing off", [&] { m.setHomingFields(false); }},
    };
    QVERIFY2(steps.contains(step), qPrintable(step));
    steps.value(step)();
}

// The parts the user can reach: on, inside a frame that is on, and shown.
QStringList reachable(const WindowModes &m) {
    const auto on = [&m](Part p) { return m.enabled(p); };
    const bool sensors = m.showParameters() && on(Part::SensorFrame);
    const bool homing = m.showParameters() && on(Part::HomingFrame);
    const std::pair<const char *, bool> parts[] = {
        {"mode button", on(Part::ModeButton)},
        {"data buttons", on(Part::DataButtons)},
        {"file menu", on(Part::FileMenu)},
        {"edit menus", on(Part::EditMenus)},
        {"position data", on(Part::PositionData)},
        {"stop", on(Part::MoveFrame)},
        {"move buttons", on(Part::MoveFrame) && on(Part::MoveButtons)},
        {"sensor fields", sensors && on(Part::SensorFields)},
        {"homing fields", homing && on(Part::HomingFields)},
    };
    QStringList names;
    for (const auto &[name, reached] : parts)
        if (reached)
            names << QString::fromLatin1(name);
    return names;
}

const QStringList editing = {"mode button", "data buttons", "file menu", "edit menus",
                             "position data"};
const QStringList moving = {"mode button", "stop", "move buttons"};

} // namespace

class TestWindowModes : public QObject {
    Q_OBJECT
private slots:
    void reachableParts_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("reached");
        QTest::addColumn<bool>("parametersActive");
        const QStringList sensors{"sensor fields"};
        const QStringList both{"sensor fields", "homing fields"};
        QTest::newRow("start: Edit mode") << QStringList{} << editing << false;
        QTest::newRow("Move mode") << QStringList{"mode button"} << moving << false;
        QTest::newRow("Edit mode again")
            << QStringList{"mode button", "mode button"} << editing << false;
        QTest::newRow("file operation running")
            << QStringList{"operation"} << QStringList{"edit menus", "position data"} << false;
        QTest::newRow("file operation ended")
            << QStringList{"operation", "operation ends"} << editing << false;
        QTest::newRow("print running")
            << QStringList{"print"} << QStringList{"file menu", "edit menus", "position data"}
            << false;
        QTest::newRow("move running: only Stop")
            << QStringList{"mode button", "move"} << QStringList{"stop"} << false;
        QTest::newRow("move ended") << QStringList{"mode button", "move", "move ends"} << moving
                                    << false;
        QTest::newRow("parameters") << QStringList{"parameters"} << editing + sensors << true;
        QTest::newRow("parameters and homing")
            << QStringList{"parameters and homing"} << editing + both << true;
        QTest::newRow("homing off without a mode change")
            << QStringList{"parameters and homing", "homing off"} << editing + sensors << true;
        QTest::newRow("parameters in Move mode")
            << QStringList{"parameters and homing", "mode button"} << moving << false;
        QTest::newRow("parameters back in Edit mode")
            << QStringList{"parameters and homing", "mode button", "mode button"}
            << editing + both << true;
        QTest::newRow("homing not editable stays off back in Edit mode")
            << QStringList{"parameters", "mode button", "mode button"} << editing + sensors
            << true;
        // The sensor fields come back although the mode switch happened while they were hidden.
        QTest::newRow("display off in Move mode, on again in Edit mode")
            << QStringList{"parameters", "mode button", "no parameters", "mode button",
                           "parameters"}
            << editing + sensors << true;
        // The frame is on again in either mode; the fields stay as Move mode left them.
        QTest::newRow("display off and on in Move mode")
            << QStringList{"parameters", "mode button", "no parameters", "parameters"} << moving
            << true;
        QTest::newRow("display off") << QStringList{"parameters and homing", "no parameters"}
                                     << editing << false;
    }
    void reachableParts() {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, reached);
        QFETCH(bool, parametersActive);
        WindowModes modes;
        for (const QString &step : steps)
            take(modes, step);
        QCOMPARE(reachable(modes), reached);
        QCOMPARE(modes.parametersActive(), parametersActive);
    }
};

QV_TEST_CORE_MAIN(TestWindowModes)
#include "tst_windowmodes.moc"
