// qvpc-cli: reads, writes and verifies the controller's settings from a terminal, through the
// same operations as the window.
#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "cli/CliFleet.h"
#include "cli/CliOptions.h"
#include "cli/CliPreflight.h"
#include "cli/CliSession.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <memory>

int main(int argc, char *argv[]) {
    auto app = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qvpc-cli"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    const CliRequest request = parseCommandLine(QCoreApplication::arguments());
    switch (request.outcome) {
    case CliRequest::Outcome::Help:
        out << request.text;
        return 0;
    case CliRequest::Outcome::UsageError:
        err << "qvpc-cli: " << request.error << "\n\n" << request.text;
        return 2;
    case CliRequest::Outcome::Run:
        break;
    }
    CliRequest run = request;
    if (const Preflight check = preflight(run); check.usageError) {
        err << "qvpc-cli: " << check.error << '\n';
        return 2;
    }

    if (request.command == CliRequest::Command::Print) {
        // The report is measured and drawn with fonts, which need a GUI application. It never
        // shows a window, so the offscreen platform serves it with or without a display.
        app.reset();
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("qvpc-cli"));
    }

    // The language of the messages: --lang, else the stored one.
    StoredSettings stored;
    stored.ReadLanguage();
    if (request.language == QLatin1String("ja"))
        stored.LangOffset = 0;
    else if (request.language == QLatin1String("en"))
        stored.LangOffset = StringTable::EnglishOffset;
    setLangOffset(stored.LangOffset);
    if (!StoredSettings::fileUsable())
        err << ResText(1559).arg(StoredSettings::filePath()) << '\n';

    if (run.targets.size() > 1)
        return CliFleet(run, out, err).run();
    CliSession session(run, out, err);
    return session.run().exitStatus();
}
