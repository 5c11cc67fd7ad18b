// qvpc-cli: reads, writes and verifies the controller's settings from a terminal, through the
// same operations as the window.
#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "cli/CliCommands.h"
#include "cli/CliFleet.h"
#include "cli/CliOptions.h"
#include "cli/CliPreflight.h"
#include "cli/CliSession.h"
#include "cli/ConsoleStream.h"
#include "cli/TerminalOutput.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <cstdio>
#include <memory>

namespace {

// A usage error: its one line and where help is, on standard error; with --json also one
// document that says the run was refused and why. Nothing has been sent.
int refuseUsage(const CliRequest &request, const QString &error, QTextStream &out,
                QTextStream &err) {
    const QString command = request.commandName.isEmpty() ? QString() : request.commandName + u' ';
    err << "qvpc-cli: " << error << "\nTry 'qvpc-cli " << command << "--help'.\n";
    if (request.json) {
        const QJsonObject result{{QStringLiteral("status"), QStringLiteral("refused")},
                                 {QStringLiteral("failure"), QStringLiteral("usage")},
                                 {QStringLiteral("message"), error}};
        out << QJsonDocument(QJsonObject{{QStringLiteral("command"), request.commandName},
                                         {QStringLiteral("result"), result}})
                   .toJson(QJsonDocument::Indented);
    }
    return 2;
}

} // namespace

int main(int argc, char *argv[]) {
    auto app = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qvpc-cli"));
    // A Windows console takes the text as characters; everything else as UTF-8.
    const std::unique_ptr<QIODevice> outConsole = ConsoleStream::consoleOf(stdout);
    const std::unique_ptr<QIODevice> errConsole = ConsoleStream::consoleOf(stderr);
    const CliRequest request = parseCommandLine(QCoreApplication::arguments());
    // What reaches the terminal shows control characters; JSON escapes them itself, and its
    // strings must stay as JSON reads them.
    TerminalOutput visibleOut(stdout, outConsole.get());
    TerminalOutput visibleErr(stderr, errConsole.get());
    QFile rawOut;
    if (request.json && !outConsole)
        rawOut.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);
    QIODevice *jsonOut = outConsole ? outConsole.get() : static_cast<QIODevice *>(&rawOut);
    QTextStream out(request.json ? jsonOut : &visibleOut);
    QTextStream err(&visibleErr);

    switch (request.outcome) {
    case CliRequest::Outcome::Help:
        out << request.text;
        return 0;
    case CliRequest::Outcome::UsageError:
        return refuseUsage(request, request.error, out, err);
    case CliRequest::Outcome::Run:
        break;
    }
    CliRequest run = request;
    if (const Preflight check = preflight(run); check.usageError)
        return refuseUsage(run, check.error, out, err);

    if (request.command->has(CliCommand::Pdf)) {
        // The report is measured and drawn with fonts, which need a GUI application. It never
        // shows a window, so the offscreen platform serves it with or without a display.
        app.reset();
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("qvpc-cli"));
    }

    // The language of the messages: --lang, else the stored one, else the locale's.
    StoredSettings stored;
    stored.languageOption = request.language;
    stored.ReadLanguageOrLocale();
    setLangOffset(stored.LangOffset);
    if (!StoredSettings::fileUsable())
        err << ResText(1559).arg(StoredSettings::filePath()) << '\n';

    if (run.targets.size() > 1)
        return CliFleet(run, out, err).run();
    CliSession session(run, out, err);
    return session.run().exitStatus();
}
