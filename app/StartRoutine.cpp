#include "app/StartRoutine.h"

#include "base/ResText.h"
#include "gui/frmMain.h"
#include "gui/frmSelection.h"
#include "session/Session.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QWindow>

StartRoutine::StartRoutine(Session &session)
    : ask(AskSelection), help(session.prompt()), m_session(session) {}

std::unique_ptr<frmMain> StartRoutine::run() {
    // 1. The help files beside the program (or in the share folder beside its bin/).
    help.InitHelp(QCoreApplication::applicationDirPath());
    // 2. The language, fixed from here on.
    m_session.settings.ReadLanguage();
    setLangOffset(m_session.settings.LangOffset);
    // 3-4. The splash window until its timer has run out.
    {
        frmSplash splash;
        splash.timerSplash.setInterval(splashMs);
        splash.show();
        splash.repaint();
        splash.timerSplash.start();
        while (!splash.SplashDone)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        splash.SplashDone = false;
    }
    // 5. Port settings.
    m_session.settings.ReadPortNo();
    m_session.settings.ReadPortOccupy();
    m_session.settings.ReadTls();
    m_session.settings.ReadKeepJournal();
    m_session.settings.ReadPreviewWrite();
    // 6. The main window; its loading runs here.
    auto main = std::make_unique<frmMain>(m_session);
    main->setHelpFile(help);
    main->show();
    // A window manager places the main window itself once it is shown; the question is to stand
    // beside where it really is, so wait (a second at most) until it is on the screen.
    const QDeadlineTimer placed(1000);
    while (main->windowHandle() && !main->windowHandle()->isExposed() && !placed.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QCoreApplication::processEvents();
    // 7-8. Offer to read the controller at once; the question cannot be cancelled.
    const qint16 answer =
        ask(main.get(), ResText(150), ResText(151), ResText(152), ResText(153), 1);
    if (answer == 0)
        main->OnlineDataRead();
    // 9. From here on the program lives as long as its main window.
    return main;
}

// Closing the main window ends the program. When that happened while the start routine still ran
// (the start-up read lets the window's events through while it waits), there was no event loop
// yet to end, and one started now would wait on with no window left.
int StartRoutine::exec(const frmMain &main) {
    if (!main.isVisible())
        return 0;
    return QApplication::exec();
}
