#pragma once

#include <QStringList>
#include <QStringView>

#include <span>

struct CliRequest;
struct CliOutcome;
class CliSession;

// One command of qvpc-cli, declared once: its name, its help, its own options and arguments and
// what runs it. The overall help, each command's help and usage, and the dispatch all read it.
struct CliCommand {
    // The options and the argument of a command read by the common reader (CliArguments), in
    // the order its help lists them.
    enum Takes : unsigned {
        Output = 1 << 0,       // -o, --output FILE
        Pdf = 1 << 1,          // --pdf OUT.pdf (drawn with fonts: needs a GUI application)
        Parameters = 1 << 2,   // --parameters
        WriteOptions = 1 << 3, // --restart, --backup BACKUP, --dry-run
        Details = 1 << 4,      // --details
        File = 1 << 5,         // FILE
    };
    // What the front end around a command must know of it.
    enum Traits : unsigned {
        Several = 1 << 0, // runs on several controllers at once
        Writes = 1 << 1,  // writes to the controller (a write's --dry-run aside)
        Offline = 1 << 2, // talks to no controller: its JSON document names no port
    };
    using Reader = void (*)(const CliCommand &, const QStringList &, CliRequest &);

    const char *name;
    CliOutcome (CliSession::*run)();
    unsigned takes;
    unsigned traits;
    // Reads the command's own options and arguments into the request; null: the common reader,
    // which takes what `takes` lists.
    Reader read;
    const char *summary; // what it does, in one line of the overall help
    const char *description;
    // The one argument of a command that takes one of a few words ("1|2|repeat").
    const char *argument = nullptr;
    const char *choices = nullptr;

    bool has(Takes what) const { return (takes & what) != 0; }
    bool is(Traits trait) const { return (traits & trait) != 0; }
};

// Every command, in the order the overall help lists them.
std::span<const CliCommand> cliCommands();
// The command of this name; null for none.
const CliCommand *cliCommandNamed(QStringView name);
