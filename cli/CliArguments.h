#pragma once

#include <QStringList>

struct CliCommand;
struct CliRequest;

// Each command's own options and arguments, read after the global options into the request:
// the command to run with them, or its help, or a usage error with its usage text.
void readCommonArguments(const CliCommand &command, const QStringList &arguments, CliRequest &r);
// io: a read, a watch or output settings.
void readIoArguments(const CliCommand &command, const QStringList &arguments, CliRequest &r);
// get and set name items; set, which writes, with their new values.
void readItemArguments(const CliCommand &command, const QStringList &arguments, CliRequest &r);
// move: the position, and for a repeat the cycle test's --count and --csv.
void readMoveArguments(const CliCommand &command, const QStringList &arguments, CliRequest &r);
// history and undo: an optional journal entry; undo also --restart and --dry-run.
void readEntryArguments(const CliCommand &command, const QStringList &arguments, CliRequest &r);
