#pragma once

#include <QString>
#include <functional>
#include <memory>

class ControllerLink;
class QWidget;
class StoredSettings;
class UserPrompt;
class frmMain;
struct QvDataCopies;

// What runs when the program starts, before the main window's event loop takes over.
class StartRoutine {
public:
    using AskFunction = std::function<qint16(QWidget *, const QString &, const QString &,
                                             const QString &, const QString &, qint16)>;

    // The long-lived objects the main window works with.
    StartRoutine(StoredSettings &settings, ControllerLink &link, UserPrompt &prompt,
                 QvDataCopies &copies);

    // The start-up question; AskSelection unless a test puts its own answer in.
    AskFunction ask;

    // Runs the start steps and returns the main window, which lives as long as the program.
    std::unique_ptr<frmMain> run();

    // The program's event loop after run(), as long as the main window lives; returns the
    // program's exit code.
    static int exec(const frmMain &main);

private:
    StoredSettings &m_settings;
    ControllerLink &m_link;
    UserPrompt &m_prompt;
    QvDataCopies &m_copies;
};
