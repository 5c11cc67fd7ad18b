#include "cli/CliOptions.h"

#include "cli/CliArguments.h"
#include "cli/CliCommands.h"
#include "cli/CliParsing.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace CliParsing {

QString usageText(const QCommandLineParser &parser, const QString &invocation) {
    QString text = parser.helpText();
    const QString started =
        QStringLiteral("Usage: %1 ").arg(QCoreApplication::arguments().value(0));
    if (text.startsWith(started))
        text.replace(0, started.size(), QStringLiteral("Usage: ") + invocation);
    return text;
}

QCommandLineOption option(const char *names, const char *description, const char *value) {
    return {QString::fromLatin1(names).split(u','), QString::fromLatin1(description),
            QString::fromLatin1(value)};
}

CliRequest usageError(const QString &error, const QString &usage) {
    CliRequest r;
    r.outcome = CliRequest::Outcome::UsageError;
    r.error = error;
    r.text = usage;
    return r;
}

} // namespace CliParsing

namespace {

CliRequest parseLine(const QStringList &arguments) {
    CliRequest r;
    QStringList rest;
    if (!CliParsing::readGlobals(CliParsing::globalsFirst(arguments), r, rest))
        return r;
    const CliCommand *command = cliCommandNamed(rest.first());
    if (!command)
        return CliParsing::usageError(
            QStringLiteral("Unknown command: %1").arg(rest.first()),
            parseCommandLine({CliParsing::program(), QStringLiteral("--help")}).text);
    (command->read ? command->read : readCommonArguments)(*command, rest.mid(1), r);
    if (r.outcome == CliRequest::Outcome::Run)
        r.commandName = QLatin1String(command->name);
    return r;
}

} // namespace

bool CliRequest::writes() const {
    return command && command->is(CliCommand::Writes) && !dryRun;
}

CliRequest parseCommandLine(const QStringList &arguments) {
    CliRequest r = parseLine(arguments);
    if (r.outcome == CliRequest::Outcome::UsageError)
        CliParsing::describeRefusedLine(arguments, r);
    return r;
}
