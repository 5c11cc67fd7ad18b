#pragma once

#include "base/OpResult.h"

#include <QString>
#include <QtGlobal>

#include <functional>

class ControllerLink;
class ControllerScope;
class MainScreen;
class UserPrompt;

// The controller's start mode (communication or external start) and its version. Each works
// inside the buttons' and file menu's bracket; the mode switches leave the port open.
class ControllerModes {
public:
    ControllerModes(ControllerLink &link, UserPrompt &prompt, MainScreen &screen);

    // "0CM0": external start mode, message 229 on its echo. A good reply that is not the echo
    // fails as Unconfirmed with the reply as its text; nothing is shown for it.
    OpResult ModeGaibu();
    // The communication check alone puts the controller in communication mode: message 230.
    OpResult ModeTrancefer();
    // "0RV": message 232 + version + 233, or 231 when the command failed. Done: the three
    // characters of the version.
    Valued<QString> ViewCtVersion();

private:
    // The bracket, the port and the check (message 215 when they fail), then afterCheck.
    OpResult switchMode(const std::function<OpResult(ControllerScope &)> &afterCheck);

    ControllerLink &m_link;
    UserPrompt &m_prompt;
    MainScreen &m_screen;
};
