#pragma once

// The main window's two modes and what may be used in each: Edit mode edits and files the data,
// Move mode test-moves the feeder. Brackets hold parts of the window while an operation runs, and
// the parameter display adds the sensor and homing parameters. The window shows what this says,
// part by part; the rules live here so that they are tested without widgets.
class WindowModes {
public:
    enum class Mode { Edit, Move };

    // The parts of the main window that go on and off together.
    enum class Part {
        ModeButton,   // the mode button, in both modes
        DataButtons,  // the file and controller buttons
        FileMenu,     // the File menu's entries an operation holds
        EditMenus,    // the verification submenu, controller version, I/O monitor, controller modes
        PositionData, // the position data frame and every field in it
        MoveFrame,    // the Move frame, the position choices, Stop, the completed position
        MoveButtons,  // move, homing, the cycle test and the position choice's frame
        SensorFrame,  // the sensor parameters' frame
        SensorFields, // its fields with their labels
        HomingFrame,  // the homing parameters' frame
        HomingFields, // its fields with their labels
    };

    // What an operation holds while it runs: the buttons (and the mode button), the File menu,
    // or the move controls (and the mode button); Stop is never held.
    enum class Bracket { DataButtons, FileMenu, Move };

    Mode mode() const { return m_mode; }
    bool inEditMode() const { return m_mode == Mode::Edit; }
    void enter(Mode mode);
    // The mode button: Edit mode to Move mode and back.
    void toggle() { enter(inEditMode() ? Mode::Move : Mode::Edit); }

    // Held from an operation's start (Muko) until its end (Yuko); an end frees a bracket however
    // often it was held.
    void hold(Bracket bracket, bool held);

    bool enabled(Part part) const;

    // The parameter display the options dialog sets; applied by applyParameterDisplay.
    bool showParameters() const { return m_showParameters; }
    void setShowParameters(bool shown) { m_showParameters = shown; }
    bool homeParamsEditable() const { return m_homeParamsEditable; }
    void setHomeParamsEditable(bool editable) { m_homeParamsEditable = editable; }
    // After the options dialog, in either mode: the sensor frame follows the display (and its
    // fields come back in Edit mode), the homing frame goes off with a display that is off.
    void applyParameterDisplay();
    // The homing fields on or off (HomePara_Yuko / HomePara_Muko), in either mode.
    void setHomingFields(bool on);

    // The sensor and homing items take part in reads, writes and checks: the parameters shown
    // and their frame on.
    bool parametersActive() const { return m_showParameters && m_sensorFrame; }

private:
    Mode m_mode = Mode::Edit;
    bool m_buttonsHeld = false;
    bool m_fileMenuHeld = false;
    bool m_moveHeld = false;
    bool m_showParameters = false;
    bool m_homeParamsEditable = false;
    // The parameter parts keep what their last change set, since a mode switch while they are
    // hidden leaves them alone. The window starts with both frames off and the fields on.
    bool m_sensorFrame = false;
    bool m_sensorFields = true;
    bool m_homingFrame = false;
    bool m_homingFields = true;
};
