#pragma once

#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "data/QvData.h"
#include "gui/Twips.h"
#include "gui/frmMain.h"
#include "link/ControllerLink.h"
#include "support/ScriptedPrompt.h"
#include "support/SessionFixture.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <memory>

// The main window with the save operation replaced by one that records its calls.
class RecordingMain : public frmMain {
public:
    using frmMain::frmMain;
    int saves = 0;
    qint16 saveResult = 0;

protected:
    qint16 SaveFile() override {
        ++saves;
        return saveResult;
    }
};

// The position fields filled with valid values (the parameter fields left as they are).
inline void fillPositions(frmMain &w) {
    w.comboVEL1->setEditText(QStringLiteral("10"));
    w.comboVEL2->setEditText(QStringLiteral("20"));
    w.lblPosi1Acc->setText(QStringLiteral("3"));
    w.lblPosi2Acc->setText(QStringLiteral("4"));
    w.lblPosi1Gensoku->setText(QStringLiteral("5"));
    w.lblPosi2Gensoku->setText(QStringLiteral("6"));
    w.txtPosi1->setText(QStringLiteral("100"));
    w.txtPosi2->setText(QStringLiteral("200"));
    w.txtPosi1Timer->setText(QStringLiteral("7"));
    w.txtPosi2Timer->setText(QStringLiteral("8"));
}

// The long-lived objects the window works with, and the window itself, shown.
struct MainWindowFixture : SessionFixture {
    std::unique_ptr<RecordingMain> window;

    // language: the stored "Language" ("1" Japanese, "2" English), read before the window loads
    // as the start routine does.
    explicit MainWindowFixture(const QString &language = QStringLiteral("1")) {
        StoredSettings::writeText(QStringLiteral("Language"), language);
        settings.ReadLanguage();
        setLangOffset(settings.LangOffset);
        window = std::make_unique<RecordingMain>(session);
        window->show();
    }

    // Shows the parameter frames as the options dialog leaves them.
    void showParameters(bool homingEditable = false) {
        window->setShowParameters(true);
        window->setHomeParamsEditable(homingEditable);
        window->applyParameterDisplay();
        if (homingEditable)
            window->HomePara_Yuko();
        else
            window->HomePara_Muko();
    }

    template <typename T = QWidget> T *find(const QString &name) const {
        return window->findChild<T *>(name);
    }

    bool heightIs(int twips) const { return window->height() == Twips::toPixels(twips); }
};
