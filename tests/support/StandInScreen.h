#pragma once

#include "base/MainScreen.h"

#include <QStringList>

// The main window as the operations see it: records the brackets and screen calls and every name
// shown, answers the screen check as told.
class StandInScreen : public MainScreen {
public:
    QStringList calls;      // brackets and screen calls in order
    QStringList shownNames; // every name shown in lblShowName
    bool screenCheckPasses = true;
    bool parametersActive = true;
    bool dataChanged = false;

    void CMDBTN_Muko() override { calls.append("CMDBTN_Muko"); }
    void CMDBTN_Yuko() override { calls.append("CMDBTN_Yuko"); }
    void Menyu_Muko() override { calls.append("Menyu_Muko"); }
    void Menyu_Yuko() override { calls.append("Menyu_Yuko"); }
    void MoveCMDBTN_Muko() override { calls.append("MoveCMDBTN_Muko"); }
    void MoveCMDBTN_Yuko() override { calls.append("MoveCMDBTN_Yuko"); }
    bool ScreenCheck() override {
        calls.append("ScreenCheck");
        return screenCheckPasses;
    }
    void ShowQvData() override {
        calls.append("ShowQvData");
        dataChanged = false;
    }
    bool ParametersActive() const override { return parametersActive; }
    bool DataChanged() const override { return dataChanged; }
    void setDataChanged(bool changed) override { dataChanged = changed; }
    void ClearFieldsForNew() override {
        calls.append("ClearFieldsForNew");
        dataChanged = true; // the fields' change events fire
    }
    void ShowFileName(const QString &name) override { shownNames.append(name); }
};
