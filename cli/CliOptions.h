#pragma once

#include "cli/CliTarget.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

struct CliCommand;
struct QvItem;

// What the command line asks for: the global options, the command and its own arguments.
struct CliRequest {
    enum class Outcome { Run, Help, UsageError };

    Outcome outcome = Outcome::UsageError;
    // Help text (Outcome::Help) or the usage text (Outcome::UsageError).
    QString text;
    // The reason of a usage error, in front of the usage text.
    QString error;

    // The command to run; null unless the outcome is Run.
    const CliCommand *command = nullptr;
    int portNo = 0; // --port N (1 to 32); 0: the stored "PortNo"
    QString device; // --device PATH
    // Every --port and --device given (ports first); more than one: write or verify on each.
    QList<CliTarget> targets;
    QString commandName; // the command as typed ("read"), for the JSON document
    // --ca FILE, --pin SHA256, --cert FILE, --key FILE: for network lines over TLS in place of
    // the stored ones, for this run; empty: the stored one.
    QString caFile;
    QString pin;
    QString certFile;
    QString keyFile;
    bool trace = false;   // --trace: every line on the serial line to standard error
    bool json = false;    // --json: one JSON document on standard output instead of lines
    bool details = false; // verify --details: each differing item with both values
    bool dryRun = false;  // write/undo --dry-run: the items that would change, nothing written
    QString backup;       // write --backup FILE: the controller's data saved there first
    QString language;     // --lang: "ja", "en" or empty for the stored "Language"
    // --journal 1, --no-journal -1, 0: the stored "Journal" (whether write journals)
    int journal = 0;
    int entry = 0;    // history/undo ENTRY; 0: history: all; undo: the newest of the named
    bool yes = false; // --yes
    QString file;     // FILE of write, verify, show and print
    QString output;   // -o FILE of read, --pdf FILE of print
    QString choice;   // the word given to move ("1", "2", "repeat") or mode ("external", ...)
    bool parameters = false;
    bool restart = false;
    bool watch = false; // io --watch
    // io --count N: polls before the watch ends; move repeat --count N: moves before the cycle
    // test ends; 0: until interrupted
    int count = 0;
    QString vcd; // io --watch --vcd FILE: the reads recorded as a VCD
    // io --watch --csv FILE: the reads recorded as CSV; move repeat --csv FILE: each move timed
    QString csv;
    bool quiet = false; // io --watch --quiet: no lines on standard output
    // io --set: the outputs asked for, as (I/O signal, on) in the order given
    QList<std::pair<int, bool>> outputs;
    // get: the items asked for in the order given (all 22 when none was named)
    QList<const QvItem *> items;
    // set: the items and their new values in the order given
    QList<std::pair<const QvItem *, qint32>> values;

    // Whether the command writes to the controller (and can be stopped between blocks).
    bool writes() const;
};

// Parses qvpc-cli's arguments (the program name first): global options, then the command, then
// the command's own options and arguments.
CliRequest parseCommandLine(const QStringList &arguments);
