#pragma once

#include <QMainWindow>

class StoredSettings;

// Stand-in for the main window until the full window with its fields, menus and modes is built:
// it carries the title and the hand-over points that the start routine calls.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(StoredSettings &settings, QWidget *parent = nullptr);

    // Reads the controller's data without asking first (the start-up question's first answer).
    // The controller read is not built yet; until it is, this does nothing.
    void OnlineDataRead();

    // "QV PC-Software Ver" + major + "." + minor + revision.
    static QString titleText();

private:
    StoredSettings &m_settings;
};
