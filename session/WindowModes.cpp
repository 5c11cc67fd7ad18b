#include "session/WindowModes.h"

void WindowModes::enter(Mode mode) {
    m_mode = mode;
    if (!m_showParameters)
        return;
    const bool edit = inEditMode();
    m_sensorFrame = m_sensorFields = edit;
    // The homing parameters come back only when they may be edited.
    if (!edit || m_homeParamsEditable)
        m_homingFrame = m_homingFields = edit;
}

void WindowModes::hold(Bracket bracket, bool held) {
    switch (bracket) {
    case Bracket::DataButtons:
        m_buttonsHeld = held;
        break;
    case Bracket::FileMenu:
        m_fileMenuHeld = held;
        break;
    case Bracket::Move:
        m_moveHeld = held;
        break;
    }
}

bool WindowModes::enabled(Part part) const {
    const bool edit = inEditMode();
    switch (part) {
    case Part::ModeButton:
        return !m_buttonsHeld && !m_moveHeld;
    case Part::DataButtons:
        return edit && !m_buttonsHeld;
    case Part::FileMenu:
        return edit && !m_fileMenuHeld;
    case Part::EditMenus:
    case Part::PositionData:
        return edit;
    case Part::MoveFrame:
        return !edit;
    case Part::MoveButtons:
        return !edit && !m_moveHeld;
    case Part::SensorFrame:
        return m_sensorFrame;
    case Part::SensorFields:
        return m_sensorFields;
    case Part::HomingFrame:
        return m_homingFrame;
    case Part::HomingFields:
        return m_homingFields;
    }
    return false;
}

void WindowModes::applyParameterDisplay() {
    m_sensorFrame = m_showParameters;
    if (!m_showParameters)
        m_homingFrame = false;
    // In Edit mode the sensor fields are editable whenever they are shown, also when a visit to
    // Move mode with the display off left them off.
    if (m_showParameters && inEditMode())
        m_sensorFields = true;
}

void WindowModes::setHomingFields(bool on) {
    m_homingFrame = m_homingFields = on;
}
