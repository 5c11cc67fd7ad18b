#pragma once

#include "base/MainScreen.h"

// The main window for runs that have none (terminal, benchmarks): no buttons or menus to disable,
// no fields or name to show; only the changed-data flag is kept. Subclasses say how the screen
// check and the showing of the data work for them.
class WindowlessScreen : public MainScreen {
public:
    void CMDBTN_Muko() override {}
    void CMDBTN_Yuko() override {}
    void Menyu_Muko() override {}
    void Menyu_Yuko() override {}
    void MoveCMDBTN_Muko() override {}
    void MoveCMDBTN_Yuko() override {}
    void ShowQvData() override { m_changed = false; }
    bool DataChanged() const override { return m_changed; }
    void setDataChanged(bool changed) override { m_changed = changed; }
    void ClearFieldsForNew() override {}
    void ShowFileName(const QString &) override {}

private:
    bool m_changed = false;
};
