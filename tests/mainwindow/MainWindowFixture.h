#pragma once

#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "data/QvData.h"
#include "gui/Twips.h"
#include "gui/frmMain.h"
#include "link/ControllerLink.h"
#include "support/ScriptedPrompt.h"
#include "support/SessionFixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

// The main window with the save operation replaced by one that records its calls.
class RecordingMain : public frmMain {
public:
    using frmMain::frmMain;
    int saves = 0;
    bool saveSucceeds = true;

protected:
    OpResult SaveFile() override {
        ++saves;
        return saveSucceeds ? OpResult::done() : OpResult::failed(OpResult::Failure::FileError);
    }
};

// A control of the window by its object name (the name the window's design gives it); a missing
// one stops the test run.
template <typename T> T *control(const frmMain &w, const QString &name) {
    T *found = w.findChild<T *>(name);
    if (!found)
        qFatal("no %s named %s in the main window", T::staticMetaObject.className(),
               qPrintable(name));
    return found;
}

// Several controls by their names, in that order.
template <typename T>
QList<T *> controls(const frmMain &w, std::initializer_list<const char *> names) {
    QList<T *> found;
    for (const char *name : names)
        found << control<T>(w, QLatin1String(name));
    return found;
}

// The text of an editing field: a VEL list, an ACC or DEC value or a line edit.
inline QString textOf(QWidget *field) {
    if (auto *combo = qobject_cast<QComboBox *>(field))
        return combo->currentText();
    if (auto *label = qobject_cast<QLabel *>(field))
        return label->text();
    return static_cast<QLineEdit *>(field)->text();
}

inline void setTextOf(QWidget *field, const QString &text) {
    if (auto *combo = qobject_cast<QComboBox *>(field))
        combo->setEditText(text);
    else if (auto *label = qobject_cast<QLabel *>(field))
        label->setText(text);
    else
        static_cast<QLineEdit *>(field)->setText(text);
}

// The position fields filled with valid values (the parameter fields left as they are).
inline void fillPositions(frmMain &w) {
    control<QComboBox>(w, "comboVEL1")->setEditText(QStringLiteral("10"));
    control<QComboBox>(w, "comboVEL2")->setEditText(QStringLiteral("20"));
    control<QLabel>(w, "lblPosi1Acc")->setText(QStringLiteral("3"));
    control<QLabel>(w, "lblPosi2Acc")->setText(QStringLiteral("4"));
    control<QLabel>(w, "lblPosi1Gensoku")->setText(QStringLiteral("5"));
    control<QLabel>(w, "lblPosi2Gensoku")->setText(QStringLiteral("6"));
    control<QLineEdit>(w, "txtPosi1")->setText(QStringLiteral("100"));
    control<QLineEdit>(w, "txtPosi2")->setText(QStringLiteral("200"));
    control<QLineEdit>(w, "txtPosi1Timer")->setText(QStringLiteral("7"));
    control<QLineEdit>(w, "txtPosi2Timer")->setText(QStringLiteral("8"));
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

    template <typename T> T *control(const QString &name) const {
        return ::control<T>(*window, name);
    }

    template <typename T = QWidget> T *find(const QString &name) const {
        return window->findChild<T *>(name);
    }

    bool heightIs(int twips) const { return window->height() == Twips::toPixels(twips); }

    // Opens a dialog with the window's menu entry and lets work() act on it while it is shown;
    // one that work() leaves open is closed as its Cancel or Close button does. False when no
    // such dialog opened.
    template <typename Dialog>
    bool withDialog(const QString &entry, const std::function<void(Dialog &)> &work) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            seen = true;
            work(*dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        window->findChild<QAction *>(entry)->trigger();
        return seen;
    }
};
