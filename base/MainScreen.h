#pragma once

#include <QScopeGuard>
#include <QString>

#include <utility>

// What the operations (file, controller read and write, verification, moves) need of the main
// window, without seeing its widgets. The main window implements it; tests may implement it with
// a stand-in.
class MainScreen {
public:
    virtual ~MainScreen() = default;

    // Enable/disable brackets around an operation.
    virtual void CMDBTN_Muko() = 0;
    virtual void CMDBTN_Yuko() = 0;
    virtual void Menyu_Muko() = 0;
    virtual void Menyu_Yuko() = 0;
    virtual void MoveCMDBTN_Muko() = 0;
    virtual void MoveCMDBTN_Yuko() = 0;

    // Blank check, then the fields into the working copy, then the range check. True: go on;
    // false: the check that refused has told the user.
    virtual bool ScreenCheck() = 0;
    // Working copy into the fields; clears DataChanged.
    virtual void ShowQvData() = 0;
    // The sensor and homing items take part (parameter frames shown and enabled).
    virtual bool ParametersActive() const = 0;

    virtual bool DataChanged() const = 0;
    virtual void setDataChanged(bool changed) = 0;

    // Editing fields to the new-data state: VEL lists and ACC/DEC labels "1", the other fields
    // empty (the parameter fields only while the parameters take part). The copies keep their
    // values.
    virtual void ClearFieldsForNew() = 0;
    // Shows the name of the data on the screen (lblShowName).
    virtual void ShowFileName(const QString &name) = 0;
    // A passing remark that needs no answer (the window's status bar): what went wrong beside an
    // operation without making it fail.
    virtual void ShowNote(const QString &text) { Q_UNUSED(text); }
};

// The buttons and the file menu disabled until the returned guard goes, on every way out.
[[nodiscard]] inline auto disabledControls(MainScreen &screen) {
    screen.CMDBTN_Muko();
    screen.Menyu_Muko();
    return qScopeGuard([&screen] {
        screen.CMDBTN_Yuko();
        screen.Menyu_Yuko();
    });
}
// A disabledControls() guard that an operation may or may not take (std::optional).
using ControlsBracket = decltype(disabledControls(std::declval<MainScreen &>()));
