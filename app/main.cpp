#include "app/DemoController.h"
#include "app/StartRoutine.h"
#include "base/StoredSettings.h"
#include "gui/QtPrompt.h"
#include "gui/UiFont.h"
#include "gui/frmMain.h"
#include "session/Session.h"

#include <QApplication>
#include <cstdio>
#include <memory>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setFont(uiFont());
    QApplication::setApplicationName(QString::fromLatin1(StoredSettings::AppName));
    QApplication::setOrganizationName(QString::fromLatin1(StoredSettings::AppName));

    // The long-lived objects: settings, the message boxes (owned by the main window once it is
    // shown), the controller link and the two copies of the QV data.
    QtPrompt prompt;
    Session session(prompt);

    // --demo: a simulated controller inside the program answers on every port number.
    std::unique_ptr<DemoController> demo;
    if (DemoController::requested(QApplication::arguments())) {
        demo = std::make_unique<DemoController>(session.link);
        if (!demo->isRunning())
            std::fprintf(stderr, "qvpc: the simulated controller could not start: %s\n",
                         qPrintable(demo->errorString()));
    }

    StartRoutine start(session);
    start.ask = [&prompt, &demo, ask = start.ask](QWidget *main, const QString &caption,
                                                  const QString &description, const QString &first,
                                                  const QString &second, qint16 noCancel) {
        prompt.setParent(main);
        if (demo)
            demo->showIn(main);
        return ask(main, caption, description, first, second, noCancel);
    };
    auto mainWindow = start.run();
    prompt.setParent(mainWindow.get());
    if (demo)
        demo->showIn(mainWindow.get());
    return StartRoutine::exec(*mainWindow);
}
