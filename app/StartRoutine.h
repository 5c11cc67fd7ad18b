#pragma once

#include "gui/HelpFile.h"
#include "gui/frmSplash.h"

#include <QString>
#include <functional>
#include <memory>

class QWidget;
class Session;
class frmMain;

// What runs when the program starts, before the main window's event loop takes over.
class StartRoutine {
public:
    using AskFunction = std::function<qint16(QWidget *, const QString &, const QString &,
                                             const QString &, const QString &, qint16)>;

    // The long-lived objects the main window works with.
    explicit StartRoutine(Session &session);

    // The start-up question; AskSelection unless a test puts its own answer in.
    AskFunction ask;

    // How long the splash window stays; tests that are not about it shorten it.
    int splashMs = frmSplash::SplashMs;
    // The help file, prepared first thing; the main window opens it from its Help menu.
    HelpFile help;

    // Runs the start steps and returns the main window, which lives as long as the program.
    std::unique_ptr<frmMain> run();

    // The program's event loop after run(), as long as the main window lives; returns the
    // program's exit code.
    static int exec(const frmMain &main);

private:
    Session &m_session;
};
