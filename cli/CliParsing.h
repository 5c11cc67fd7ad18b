#pragma once

#include "cli/CliOptions.h"

class QCommandLineOption;
class QCommandLineParser;

// The parts of qvpc-cli's option reader that its files share (parseCommandLine is its face).
namespace CliParsing {

// The program's name as the help and the usage texts call it.
inline QString program() {
    return QStringLiteral("qvpc-cli");
}
// The parser's help with the program called by its name, however it was started.
QString usageText(const QCommandLineParser &parser, const QString &invocation);
// A refused line: the reason and the usage text to show with it.
CliRequest usageError(const QString &error, const QString &usage);
// An option: its names ("o,output"), what it does and the name of its value (none for a flag).
QCommandLineOption option(const char *names, const char *description, const char *value = "");

// The global options (CliGlobalOptions.cpp). Moves them, wherever they stand, in front of the
// command.
QStringList globalsFirst(const QStringList &arguments);
// Reads them into r; rest is the command and its own arguments. False when that is all (r holds
// the help, the version or a usage error).
bool readGlobals(const QStringList &arguments, CliRequest &r, QStringList &rest);
// What a usage error still tells of the command line: whether it asked for a JSON document and
// which known command it named.
void describeRefusedLine(const QStringList &arguments, CliRequest &r);

} // namespace CliParsing
