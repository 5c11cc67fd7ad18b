#pragma once

#include "app/MainScreen.h"

struct QvDataCopies;
class UserPrompt;

// The main window as a terminal run has it: no buttons or menus to disable and no fields to show.
// The working copy is what the command line brought in; the screen check is its range check.
class TerminalScreen : public MainScreen {
public:
    TerminalScreen(QvDataCopies &copies, UserPrompt &prompt, bool parametersActive)
        : m_copies(copies), m_prompt(prompt), m_parameters(parametersActive) {}

    void CMDBTN_Muko() override {}
    void CMDBTN_Yuko() override {}
    void Menyu_Muko() override {}
    void Menyu_Yuko() override {}
    void MoveCMDBTN_Muko() override {}
    void MoveCMDBTN_Yuko() override {}

    // There are no fields to take in and none can be blank: only the range check is left.
    qint16 ScreenCheck() override;
    void ShowQvData() override { m_changed = false; }
    bool ParametersActive() const override { return m_parameters; }
    bool DataChanged() const override { return m_changed; }
    void setDataChanged(bool changed) override { m_changed = changed; }
    void ClearFieldsForNew() override {}
    void ShowFileName(const QString &) override {}

private:
    QvDataCopies &m_copies;
    UserPrompt &m_prompt;
    bool m_parameters = false;
    bool m_changed = false;
};
