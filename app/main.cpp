#include "app/DemoController.h"
#include "app/StartRoutine.h"
#include "app/WindowOptions.h"
#include "base/NativeHelp.h"
#include "base/ProgramVersion.h"
#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "gui/QtPrompt.h"
#include "gui/QtTranslations.h"
#include "gui/UiFont.h"
#include "gui/frmMain.h"
#include "session/Session.h"

#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <memory>

int main(int argc, char *argv[]) {
    // --version, --help and a usage error need no display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const WindowOptions options = WindowOptions::read(arguments);
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "qvpc: %s\nTry 'qvpc --help'.\n", qPrintable(options.error));
        return 2;
    }
    if (options.version) {
        std::printf("qvpc %s\n", qPrintable(ProgramVersion::number()));
        return 0;
    }
    if (options.help) {
        std::printf("%s", qPrintable(WindowOptions::helpText()));
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setFont(uiFont());
    QApplication::setApplicationName(QString::fromLatin1(StoredSettings::AppName));
    QApplication::setOrganizationName(QString::fromLatin1(StoredSettings::AppName));
    QApplication::setDesktopFileName(QStringLiteral("qvpc"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/qvpc-256.png")));

    // The long-lived objects: settings, the message boxes (owned by the main window once it is
    // shown), the controller link and the two copies of the QV data.
    QtPrompt prompt;
    Session session(prompt);
    session.settings.languageOption = options.language;

    // --demo: a simulated controller inside the program answers on every port number.
    std::unique_ptr<DemoController> demo;
    if (DemoController::requested(QApplication::arguments())) {
        demo = std::make_unique<DemoController>(session.link);
        if (!demo->isRunning())
            std::fprintf(stderr, "qvpc: the simulated controller could not start: %s\n",
                         qPrintable(demo->errorString()));
    }

    // Qt's own buttons and dialogs in the stored language.
    session.settings.ReadLanguage();
    if (!installQtTranslations(app, session.settings.LanguageNo == 1))
        std::fprintf(stderr, "qvpc: Qt's Japanese texts were not found; buttons and file "
                             "dialogs stay in English (package qt6-translations-l10n)\n");

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
    if (!StoredSettings::fileUsable())
        prompt.MsgBox(ResText(1559).arg(StoredSettings::filePath()), MsgButtons::OkOnly,
                      MsgIcon::Exclamation);
    if (demo)
        demo->showIn(mainWindow.get());
    const int status = StartRoutine::exec(*mainWindow);
    // Help windows the program opened go with it.
    NativeHelp::closeAll();
    return status;
}
