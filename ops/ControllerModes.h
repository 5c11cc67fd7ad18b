#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

class ControllerLink;
class MainScreen;
class UserPrompt;

// The controller's start mode (communication or external start) and its version. Each works
// inside the buttons' and file menu's bracket; the mode switches leave the port open.
class ControllerModes {
public:
    ControllerModes(ControllerLink &link, UserPrompt &prompt, MainScreen &screen);

    // "0CM0": external start mode, message 229 on its echo. 0: confirmed; 1: failed or not
    // confirmed (see unconfirmed()).
    qint16 ModeGaibu();
    // The communication check alone puts the controller in communication mode: message 230.
    qint16 ModeTrancefer();
    // "0RV": message 232 + version + 233, or 231 when the command failed. 0: read.
    qint16 ViewCtVersion();

    // The three characters of the last version read.
    QString version() const { return m_version; }
    // The last ModeGaibu got a good reply that was not the "0CM0" echo; nothing was shown.
    bool unconfirmed() const { return m_unconfirmed; }

private:
    bool prepare();
    // The bracket, the port and the check (message 215 when they fail), then afterCheck.
    qint16 switchMode(const std::function<qint16()> &afterCheck);

    ControllerLink &m_link;
    UserPrompt &m_prompt;
    MainScreen &m_screen;
    QString m_version;
    bool m_unconfirmed = false;
};
