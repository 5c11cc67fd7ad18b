// The main window's modes without the window: which of its parts the user can reach after the
// mode button, the brackets of running operations and the options dialog's parameter display.
#include "session/WindowModes.h"
#include "support/TestEnvironment.h"

#include <QObject>

namespace {

using Part = WindowModes::Part;
using Bracket = WindowModes::Bracket;

// One step as the window takes it: the mode button; a file or controller operation, which holds
// the buttons and the File menu, and a move, held and let go; the parameter display as the
// options dialog's OK sets it and the window then applies it.
void take(WindowModes &m, const QString &step) {
    const bool held = step == "operation" || step == "move", shown = step != "hide";
    if (step == "toggle") {
        m.toggle();
    } else if (step == "operation" || step == "done") {
        m.hold(Bracket::DataButtons, held);
        m.hold(Bracket::FileMenu, held);
    } else if (step == "move" || step == "moved") {
        m.hold(Bracket::Move, held);
    } else {
        QVERIFY2(step == "params" || step == "homing" || step == "hide", qPrintable(step));
        m.setShowParameters(shown);
        if (shown) {
            m.setHomeParamsEditable(step == "homing");
            m.setHomingFields(step == "homing");
        }
        m.applyParameterDisplay();
    }
}

// The parts the user can reach: on, inside a frame that is on, and shown.
QString reachable(const WindowModes &m) {
    const auto on = [&m](Part p) { return m.enabled(p); };
    const std::pair<const char *, bool> parts[] = {
        {"mode", on(Part::ModeButton)},
        {"buttons", on(Part::DataButtons)},
        {"file", on(Part::FileMenu)},
        {"menus", on(Part::EditMenus)},
        {"positions", on(Part::PositionData)},
        {"stop", on(Part::MoveFrame)},
        {"moves", on(Part::MoveFrame) && on(Part::MoveButtons)},
        {"sensors", m.showParameters() && on(Part::SensorFrame) && on(Part::SensorFields)},
        {"homing", m.showParameters() && on(Part::HomingFrame) && on(Part::HomingFields)},
        // Not a part: the parameter items take part in reads, writes and checks.
        {"(parameters)", m.parametersActive()},
    };
    QStringList names;
    for (const auto &[name, reached] : parts)
        if (reached)
            names << QString::fromLatin1(name);
    return names.join(u' ');
}

} // namespace

class TestWindowModes : public QObject {
    Q_OBJECT
private slots:
    void reachableParts_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("reached");
        const QString edit = "mode buttons file menus positions", move = "mode stop moves";
        QTest::newRow("start: Edit mode") << "" << edit;
        QTest::newRow("Move mode") << "toggle" << move;
        QTest::newRow("operation running") << "operation"
                                           << "menus positions";
        QTest::newRow("operation done") << "operation done" << edit;
        QTest::newRow("move running: Stop only") << "toggle move"
                                                 << "stop";
        QTest::newRow("move done") << "toggle move moved" << move;
        QTest::newRow("parameters") << "params" << edit + " sensors (parameters)";
        QTest::newRow("with homing") << "homing" << edit + " sensors homing (parameters)";
        QTest::newRow("parameters in Move mode") << "homing toggle" << move;
        QTest::newRow("back in Edit mode")
            << "homing toggle toggle" << edit + " sensors homing (parameters)";
        QTest::newRow("homing not editable stays off")
            << "params toggle toggle" << edit + " sensors (parameters)";
        // The sensor fields come back although the mode changed while they were hidden.
        QTest::newRow("hidden in Move mode, shown in Edit mode")
            << "params toggle hide toggle params" << edit + " sensors (parameters)";
        // Shown again in Move mode: the frame takes part, its fields stay as the mode left them.
        QTest::newRow("hidden and shown in Move mode")
            << "params toggle hide params" << move + " (parameters)";
    }
    void reachableParts() {
        QFETCH(QString, steps);
        QFETCH(QString, reached);
        WindowModes modes;
        for (const QString &step : steps.split(u' ', Qt::SkipEmptyParts))
            take(modes, step);
        QCOMPARE(reachable(modes), reached);
    }
};

QV_TEST_CORE_MAIN(TestWindowModes)
#include "tst_windowmodes.moc"
