#include "app/StartRoutine.h"

#include "app/ResText.h"
#include "app/StoredSettings.h"
#include "app/frmMain.h"
#include "app/frmSelection.h"

#include <QApplication>

StartRoutine::StartRoutine(StoredSettings &settings, ControllerLink &link, UserPrompt &prompt,
                           QvDataCopies &copies)
    : ask(AskSelection), m_settings(settings), m_link(link), m_prompt(prompt), m_copies(copies) {}

std::unique_ptr<frmMain> StartRoutine::run() {
    // 1. The help file path is prepared here once help is built (not yet).
    // 2. The language, fixed from here on.
    m_settings.ReadLanguage();
    // 3-4. The splash window is shown here for its 2000 ms once it is built (not yet).
    // 5. Port settings.
    m_settings.ReadPortNo();
    m_settings.ReadPortOccupy();
    // 6. The main window; its loading runs here.
    auto main = std::make_unique<frmMain>(m_settings, m_link, m_prompt, m_copies);
    main->show();
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
