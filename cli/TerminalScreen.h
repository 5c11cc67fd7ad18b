#pragma once

#include "base/UserPrompt.h"
#include "base/WindowlessScreen.h"

struct QvDataCopies;

// The main window as a terminal run has it: no buttons or menus to disable and no fields to show.
// The working copy is what the command line brought in; the screen check is its range check.
class TerminalScreen : public WindowlessScreen {
public:
    TerminalScreen(QvDataCopies &copies, UserPrompt &prompt, bool parametersActive)
        : m_copies(copies), m_prompt(prompt), m_parameters(parametersActive) {}

    // There are no fields to take in and none can be blank: only the range check is left.
    bool ScreenCheck() override;
    bool ParametersActive() const override { return m_parameters; }
    void setParametersActive(bool active) { m_parameters = active; }
    // On the error stream, as the program's other messages.
    void ShowNote(const QString &text) override { m_prompt.MsgBox(text); }

private:
    QvDataCopies &m_copies;
    UserPrompt &m_prompt;
    bool m_parameters = false;
};
