#include "cli/CliOptions.h"

#include "link/NetAddress.h"

#include "base/ProgramVersion.h"
#include "data/QvItems.h"
#include "iomon/IoSignals.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>

namespace {

struct CommandInfo {
    const char *name;
    CliRequest::Command command;
    const char *synopsis;
    const char *summary; // what it does, in one line of the overall help
    const char *description;
    // The one argument of a command that takes one of a few words ("1|2|repeat").
    const char *argument = nullptr;
    const char *choices = nullptr;
};

const CommandInfo Commands[] = {
    {"ports", CliRequest::Command::Ports, "ports",
     "List the port map's COM numbers and their devices.",
     "List the COM numbers of the port map with their device paths and descriptions."},
    {"read", CliRequest::Command::Read, "read [-o FILE]",
     "Read the controller's settings; print them or save them to a file.",
     "Read the controller (all five blocks). With -o, write them to FILE as a QV data file;\n"
     "otherwise print every item with its name to standard output.\n"
     "An existing FILE is replaced only with --yes; otherwise nothing is read."},
    {"write", CliRequest::Command::Write,
     "write FILE [--parameters] [--restart] [--backup BACKUP] [--dry-run]",
     "Write a QV data file to the controller (one or several).",
     "Take FILE into the working copy, range-check it and write its blocks to the controller.\n"
     "The question \"transmit the data?\" is answered OK only with --yes; without it the\n"
     "command stops there and nothing is sent. The question \"reset the controller?\" after\n"
     "the write is answered OK only with --restart (\"0CM3\"); without it the data stay\n"
     "written and the controller is not restarted.\n"
     "With --backup the controller's data are read and saved to BACKUP first; if that fails,\n"
     "nothing is written. With several controllers BACKUP holds {port}, replaced by each\n"
     "port's name (COM3, ttyUSB0).\n"
     "With --dry-run the controller is read and each item that the write would change is\n"
     "printed: its label, the controller's value and the file's value, tab-separated; nothing\n"
     "is written and no question is asked. Exit status 0 when nothing would change, 1 when\n"
     "something would.\n"
     "With several --port/--device every controller is written at once; one line per\n"
     "controller follows on standard output: the port, a tab, OK or FAILED (a tab, the reason)."},
    {"get", CliRequest::Command::Get, "get [ITEM ...]",
     "Print single items read from the controller (one or several).",
     "Read the controller and print the named items, one a line: the item's name, a space and\n"
     "its value (\"Vel1 20\"); all 22 items when none is named. Names are those of \"get\"\n"
     "without arguments, in any case."},
    {"set", CliRequest::Command::Set, "set ITEM=VALUE ... [--restart]",
     "Change single items on the controller (one or several).",
     "Read the controller, change only the named items, range-check the result as the window\n"
     "does and write it back; every other item keeps the controller's own value. A sensor or\n"
     "homing item writes the parameter blocks too (with the controller's other parameters).\n"
     "An unknown item or a value out of range is a usage error before anything is sent.\n"
     "The write question is answered OK only with --yes. With --restart the controller is\n"
     "restarted (it takes the new values into effect then) and read back: exit status 1 when\n"
     "it does not hold the values written.\n"
     "With several --port/--device each controller is changed at once, keeping its own other\n"
     "values; one line per controller follows: the port, a tab, OK or FAILED (a tab, the reason)."},
    {"history", CliRequest::Command::History, "history",
     "List the journal of writes, newest first.",
     "List the journal of writes (of --port N or --device PATH only, when given), newest\n"
     "first, one write a line, tab-separated: its number, the time (UTC), the port, how it\n"
     "ended (written, restarted, restart-failed, failed) and how many items it changed.\n"
     "set and undo are always journalled; write and the window's write only with the journal\n"
     "on (--journal, or Journal=1 in [Settings]), since it costs a read before each write.\n"
     "The last 50 writes of each controller are kept."},
    {"undo", CliRequest::Command::Undo, "undo [ENTRY] [--restart]",
     "Write the values from before a journalled write back.",
     "Read the controller and write back the values the items changed by journal entry ENTRY\n"
     "(a number of \"history\") held before it; the other items keep the controller's values.\n"
     "Without ENTRY, the newest entry of the controller named by --port/--device (else the\n"
     "stored port); with ENTRY and no controller named, the entry's own controller. The write\n"
     "question is answered OK only with --yes; --restart restarts the controller and reads it\n"
     "back (exit status 1 when it does not hold the values). The undo is journalled too."},
    {"verify", CliRequest::Command::Verify, "verify FILE [--parameters] [--details]",
     "Compare a QV data file with the controller (one or several).",
     "Compare FILE with the controller and print the report. Exit status 0 when they agree,\n"
     "1 when they differ or the comparison failed. With --details each differing item follows\n"
     "on standard output: its label, the file's value and the controller's value, tab-separated.\n"
     "With several --port/--device every controller is compared at once; one line per\n"
     "controller follows: the port, a tab, OK, DIFFERENT or FAILED (a tab, the reason)."},
    {"show", CliRequest::Command::Show, "show FILE", "Print the items of a QV data file.",
     "Print the items of a QV data file with their names."},
    {"move", CliRequest::Command::Move, "move 1|2|repeat",
     "Test-move the feeder to a position, or back and forth until Ctrl+C.",
     "Move the feeder to position 1 or 2, or back and forth starting with 2 (repeat), and\n"
     "print each completed position on its own line. A repeat runs until Ctrl+C (SIGINT) or\n"
     "SIGTERM, which act as the Stop button: the move under way completes, and the feeder\n"
     "always stops on a completed move to position 1 (exit status 0). A second Ctrl+C ends\n"
     "the program at once.",
     "POSITION", "1|2|repeat"},
    {"home", CliRequest::Command::Home, "home", "Home the feeder.",
     "Home the feeder (\"0MP0\") and print \"home\" when it is there."},
    {"reset", CliRequest::Command::Reset, "reset", "Reset the controller's alarm.",
     "Reset the controller's alarm (\"0%C\"), then check the line."},
    {"version", CliRequest::Command::Version, "version", "Print the controller's version.",
     "Print the controller's version (three characters) to standard output; the message\n"
     "with it goes to standard error."},
    {"mode", CliRequest::Command::Mode, "mode external|communication",
     "Switch the controller's start mode.",
     "Switch the controller to external start mode (\"0CM0\"; its inputs start the moves)\n"
     "or to communication mode (\"0CM1\"; it takes its commands from the serial line).",
     "MODE", "external|communication"},
    {"print", CliRequest::Command::Print, "print FILE --pdf OUT.pdf",
     "Print a QV data file's report into a PDF file.",
     "Print the report of a QV data file, as the window prints a file's data, into the PDF\n"
     "file OUT.pdf (A4) in the language of --lang. An existing OUT.pdf is replaced only with\n"
     "--yes."},
    {"io", CliRequest::Command::Io,
     "io [--watch [--count N] [--vcd FILE] [--csv FILE] [--quiet] | --set NAME=on|off ...]",
     "Read, watch or switch the controller's inputs and outputs.",
     "Read the controller's I/O block once and print its nine signals, one a line: the name,\n"
     "a tab, and on (red lamp) or off.\n"
     "--watch reads every 200 ms as the I/O monitor window does: the nine lines once, then a\n"
     "line with the time, the name and the state for each signal that changes; it ends after\n"
     "--count N reads, or at Ctrl+C (SIGINT) or SIGTERM, with status 0.\n"
     "--vcd FILE and --csv FILE record every read of the watch: a VCD (one wire per signal,\n"
     "1 ms steps, only changes) or CSV (time in seconds, the nine signals as 0 or 1), 1 being\n"
     "on; --quiet leaves out the lines. An existing FILE is replaced only with --yes. A file\n"
     "that cannot be written further ends the watch with status 1, the reads before kept.\n"
     "--set switches outputs (NAME: no-work, stopped, take-out, escape): one \"0WS\" with the\n"
     "named outputs as asked and the others as read, then the nine lines as read back."},
};

const QString Program = QStringLiteral("qvpc-cli");

// The parser's help with the program called by its name, however it was started.
QString usageText(const QCommandLineParser &parser, const QString &invocation) {
    QString text = parser.helpText();
    const QString started =
        QStringLiteral("Usage: %1 ").arg(QCoreApplication::arguments().value(0));
    if (text.startsWith(started))
        text.replace(0, started.size(), QStringLiteral("Usage: ") + invocation);
    return text;
}

QString globalHelp(const QCommandLineParser &parser) {
    QString text = usageText(parser, Program + u' ');
    text += QStringLiteral("\nCommands:\n");
    for (const CommandInfo &c : Commands)
        text += QStringLiteral("  %1 %2\n")
                    .arg(QLatin1String(c.name), -8)
                    .arg(QLatin1String(c.summary));
    text += QStringLiteral(
        "\n'qvpc-cli COMMAND --help' describes a command. Messages go to standard error in the\n"
        "chosen language. Exit status: 0 done (verify: equal), 1 failed or different, 2 usage "
        "error.\n");
    return text;
}

CliRequest usageError(const QString &error, const QString &usage) {
    CliRequest r;
    r.outcome = CliRequest::Outcome::UsageError;
    r.error = error;
    r.text = usage;
    return r;
}

bool parseGlobals(const QStringList &arguments, CliRequest &r, QStringList &rest) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Reads, writes and verifies a QV feeder controller's settings and test-moves the feeder\n"
        "without a window."));
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("Use COM N (1 to 32) of the port map."),
                                  QStringLiteral("N"));
    const QCommandLineOption device(QStringLiteral("device"),
                                    QStringLiteral("Open this serial device directly."),
                                    QStringLiteral("PATH"));
    const QCommandLineOption lang(QStringLiteral("lang"),
                                  QStringLiteral("Texts in Japanese (ja) or English (en)."),
                                  QStringLiteral("ja|en"));
    const QCommandLineOption yes(QStringLiteral("yes"),
                                 QStringLiteral("Answer Yes/OK to the program's questions."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Show the program's version."));
    const QCommandLineOption trace(
        QStringLiteral("trace"),
        QStringLiteral("Show every line sent and received, with the time, on standard error."));
    const QCommandLineOption journal(
        QStringLiteral("journal"),
        QStringLiteral("Journal this run's writes (reads the controller before each write)."));
    const QCommandLineOption noJournal(QStringLiteral("no-journal"),
                                       QStringLiteral("Do not journal this run's writes."));
    const QCommandLineOption json(
        QStringLiteral("json"),
        QStringLiteral("Print one JSON document on standard output instead of lines."));
    parser.addOptions({help, port, device, lang, yes, version, trace, json, journal, noJournal});
    parser.addPositionalArgument(QStringLiteral("COMMAND"), QStringLiteral("What to do."),
                                 QStringLiteral("COMMAND ..."));

    const QString usage = globalHelp(parser);
    if (!parser.parse(arguments)) {
        r = usageError(parser.errorText(), usage);
        return false;
    }
    rest = parser.positionalArguments();
    if (parser.isSet(version)) {
        r.outcome = CliRequest::Outcome::Help;
        r.text = QStringLiteral("%1 %2\n").arg(Program, ProgramVersion::number());
        return false;
    }
    if (parser.isSet(help)) {
        if (rest.isEmpty()) {
            r.outcome = CliRequest::Outcome::Help;
            r.text = usage;
            return false;
        }
        // Help in front of a command describes that command and runs nothing.
        rest.append(QStringLiteral("--help"));
    }
    // --port and --device may each be given several times: every one names a controller.
    for (const QString &value : parser.values(port)) {
        bool ok = false;
        const int n = value.toInt(&ok);
        if (!ok || n < 1 || n > 32) {
            r = usageError(QStringLiteral("--port needs a number from 1 to 32."), usage);
            return false;
        }
        r.targets.append({n, QString()});
    }
    for (const QString &value : parser.values(device)) {
        if (value.isEmpty()) {
            r = usageError(QStringLiteral("--device needs a path."), usage);
            return false;
        }
        if (NetAddress::looksLikeUrl(value) && !NetAddress::parse(value).isValid()) {
            r = usageError(QStringLiteral("--device %1: a network line is rfc2217://HOST:PORT or "
                                          "tcp://HOST:PORT ([HOST] for IPv6).")
                               .arg(value),
                           usage);
            return false;
        }
        r.targets.append({0, value});
    }
    QStringList names;
    for (const CliRequest::Target &target : r.targets)
        names.append(target.name());
    if (names.removeDuplicates() > 0) {
        r = usageError(QStringLiteral("A controller is named twice."), usage);
        return false;
    }
    if (r.targets.size() == 1) {
        r.portNo = r.targets.first().portNo;
        r.device = r.targets.first().device;
    }
    r.trace = parser.isSet(trace);
    r.json = parser.isSet(json);
    r.language = parser.value(lang);
    if (parser.isSet(lang) && r.language != QLatin1String("ja") &&
        r.language != QLatin1String("en")) {
        r = usageError(QStringLiteral("--lang is ja or en."), usage);
        return false;
    }
    r.yes = parser.isSet(yes);
    if (parser.isSet(journal) && parser.isSet(noJournal)) {
        r = usageError(QStringLiteral("Give either --journal or --no-journal, not both."), usage);
        return false;
    }
    r.journal = parser.isSet(journal) ? 1 : parser.isSet(noJournal) ? -1 : 0;
    if (rest.isEmpty()) {
        r = usageError(QStringLiteral("No command given."), usage);
        return false;
    }
    return true;
}

// Parses a command's own arguments into the parser and gives its usage text for the command's
// own checks; false when that is all (r holds the usage error or the help).
bool parseArguments(QCommandLineParser &parser, const QCommandLineOption &help,
                    const CommandInfo &info, const QStringList &arguments, CliRequest &r,
                    QString &usage) {
    usage = usageText(
        parser, QStringLiteral("%1 [global options] %2 ").arg(Program, QLatin1String(info.name)));
    if (!parser.parse(QStringList{Program} + arguments)) {
        r = usageError(parser.errorText(), usage);
        return false;
    }
    if (parser.isSet(help)) {
        r.outcome = CliRequest::Outcome::Help;
        r.text = usage;
        return false;
    }
    if (r.targets.size() > 1 && info.command != CliRequest::Command::Write &&
        info.command != CliRequest::Command::Verify && info.command != CliRequest::Command::Get &&
        info.command != CliRequest::Command::Set) {
        r = usageError(QStringLiteral("Several controllers can only be written, verified, read "
                                      "with get or changed with set."),
                       usage);
        return false;
    }
    return true;
}

void parseCommand(const CommandInfo &info, const QStringList &arguments, CliRequest &r) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QLatin1String(info.description));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("Write the data to this QV data file."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption parameters(
        QStringLiteral("parameters"),
        QStringLiteral("Include the sensor and homing parameters (blocks \"00\" and \"01\")."));
    const QCommandLineOption restart(QStringLiteral("restart"),
                                     QStringLiteral("Restart the controller after the write."));
    const QCommandLineOption pdf(QStringLiteral("pdf"),
                                 QStringLiteral("Write the report to this PDF file."),
                                 QStringLiteral("OUT.pdf"));
    const QCommandLineOption details(
        QStringLiteral("details"),
        QStringLiteral("Print each differing item with both values to standard output."));
    const QCommandLineOption backup(
        QStringLiteral("backup"),
        QStringLiteral("Save the controller's data to BACKUP before writing."),
        QStringLiteral("BACKUP"));
    const QCommandLineOption dryRun(
        QStringLiteral("dry-run"),
        QStringLiteral("Print the items the write would change; write nothing."));
    parser.addOption(help);
    const bool takesFile =
        info.command == CliRequest::Command::Write || info.command == CliRequest::Command::Verify ||
        info.command == CliRequest::Command::Show || info.command == CliRequest::Command::Print;
    const bool takesOutput = info.command == CliRequest::Command::Read;
    const bool takesPdf = info.command == CliRequest::Command::Print;
    const bool takesParameters =
        info.command == CliRequest::Command::Write || info.command == CliRequest::Command::Verify;
    const bool takesRestart = info.command == CliRequest::Command::Write;
    if (takesOutput)
        parser.addOption(output);
    if (takesPdf)
        parser.addOption(pdf);
    if (takesParameters)
        parser.addOption(parameters);
    if (takesRestart)
        parser.addOptions({restart, backup, dryRun});
    if (info.command == CliRequest::Command::Verify)
        parser.addOption(details);
    if (takesFile)
        parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A QV data file."));
    const QStringList choices =
        info.choices ? QString::fromLatin1(info.choices).split(u'|') : QStringList();
    if (info.choices)
        parser.addPositionalArgument(QLatin1String(info.argument), QLatin1String(info.choices),
                                     QLatin1String(info.choices));

    QString usage;
    if (!parseArguments(parser, help, info, arguments, r, usage))
        return;
    const QStringList positional = parser.positionalArguments();
    const qsizetype wanted = takesFile || info.choices ? 1 : 0;
    if (positional.size() != wanted) {
        const QString missing = takesFile ? QStringLiteral("FILE") : QLatin1String(info.argument);
        r = usageError(positional.size() < wanted ? missing + QStringLiteral(" is missing.")
                                                  : QStringLiteral("Too many arguments."),
                       usage);
        return;
    }
    if (info.choices && !choices.contains(positional.first())) {
        r = usageError(
            QStringLiteral("%1 is one of %2, not %3.")
                .arg(QLatin1String(info.argument), QLatin1String(info.choices), positional.first()),
            usage);
        return;
    }
    if (takesOutput && parser.isSet(output) && parser.value(output).isEmpty()) {
        r = usageError(QStringLiteral("-o needs a file name."), usage);
        return;
    }
    if (takesPdf && parser.value(pdf).isEmpty()) {
        r = usageError(QStringLiteral("--pdf needs a file name."), usage);
        return;
    }
    r.command = info.command;
    r.file = takesFile ? positional.first() : QString();
    r.choice = info.choices ? positional.first() : QString();
    r.output = takesOutput ? parser.value(output) : takesPdf ? parser.value(pdf) : QString();
    r.parameters = takesParameters && parser.isSet(parameters);
    r.restart = takesRestart && parser.isSet(restart);
    r.details = info.command == CliRequest::Command::Verify && parser.isSet(details);
    r.backup = takesRestart ? parser.value(backup) : QString();
    r.dryRun = takesRestart && parser.isSet(dryRun);
    if (r.dryRun && (r.restart || parser.isSet(backup))) {
        r = usageError(QStringLiteral("--dry-run writes nothing: it goes without --restart and "
                                      "--backup."),
                       usage);
        return;
    }
    if (takesRestart && parser.isSet(backup) && r.backup.isEmpty()) {
        r = usageError(QStringLiteral("--backup needs a file name."), usage);
        return;
    }
    if (r.targets.size() > 1 && !r.backup.isEmpty()) {
        // Two controllers must never save over each other's backup.
        QStringList files;
        for (const CliRequest::Target &target : r.targets)
            files.append(target.backupFile(r.backup));
        if (files.removeDuplicates() > 0) {
            r = usageError(
                r.backup.contains(QLatin1String("{port}"))
                    ? QStringLiteral("Two controllers would share one BACKUP file.")
                    : QStringLiteral("With several controllers, BACKUP needs {port} in its name."),
                usage);
            return;
        }
    }
    r.outcome = CliRequest::Outcome::Run;
}

// The global options, wherever they stand, in front of the command: "qvpc-cli read --port 3"
// means "qvpc-cli --port 3 read". Nothing after "--" is moved.
QStringList globalsFirst(const QStringList &arguments) {
    const QStringList withValue = {QStringLiteral("--port"), QStringLiteral("--device"),
                                   QStringLiteral("--lang")};
    const QStringList flags = {QStringLiteral("--yes"),     QStringLiteral("--version"),
                               QStringLiteral("--trace"),   QStringLiteral("--json"),
                               QStringLiteral("--journal"), QStringLiteral("--no-journal")};
    const auto isGlobal = [&](const QString &a) {
        return flags.contains(a) || withValue.contains(a) ||
               std::any_of(withValue.begin(), withValue.end(),
                           [&a](const QString &o) { return a.startsWith(o + u'='); });
    };
    QStringList front{arguments.value(0)};
    QStringList back;
    bool commandSeen = false;
    bool optionsEnd = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        const bool global = !optionsEnd && isGlobal(a);
        const bool takesValue = global && withValue.contains(a) && i + 1 < arguments.size();
        if (a == QLatin1String("--"))
            optionsEnd = true;
        if (global) {
            front << a;
            if (takesValue)
                front << arguments[++i];
            continue;
        }
        if (!commandSeen && !a.startsWith(u'-'))
            commandSeen = true;
        (commandSeen ? back : front) << a;
    }
    return front + back;
}

// io has options of its own: either a watch or output settings, never both.
void parseIoCommand(const CommandInfo &info, const QStringList &arguments, CliRequest &r) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QLatin1String(info.description));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    const QCommandLineOption watch(QStringLiteral("watch"),
                                   QStringLiteral("Read every 200 ms and print the changes."));
    const QCommandLineOption count(QStringLiteral("count"),
                                   QStringLiteral("End the watch after N reads."),
                                   QStringLiteral("N"));
    const QCommandLineOption set(QStringLiteral("set"),
                                 QStringLiteral("Switch an output on or off (may be repeated)."),
                                 QStringLiteral("NAME=on|off"));
    const QCommandLineOption vcd(QStringLiteral("vcd"),
                                 QStringLiteral("Record the watch's reads into FILE as a VCD."),
                                 QStringLiteral("FILE"));
    const QCommandLineOption csv(QStringLiteral("csv"),
                                 QStringLiteral("Record the watch's reads into FILE as CSV."),
                                 QStringLiteral("FILE"));
    const QCommandLineOption quiet(QStringLiteral("quiet"),
                                   QStringLiteral("Print no lines during the watch."));
    parser.addOptions({help, watch, count, vcd, csv, quiet, set});
    parser.addPositionalArgument(QStringLiteral("NAME=on|off"),
                                 QStringLiteral("More outputs to switch, after --set."),
                                 QStringLiteral("[NAME=on|off ...]"));
    QString usage;
    if (!parseArguments(parser, help, info, arguments, r, usage))
        return;
    const QStringList settings = parser.values(set) + parser.positionalArguments();
    if (!parser.isSet(set) && !settings.isEmpty()) {
        r = usageError(QStringLiteral("Too many arguments."), usage);
        return;
    }
    if (r.json && parser.isSet(watch)) {
        r = usageError(QStringLiteral("--json prints one document at the end: it goes without "
                                      "--watch (record a watch with --vcd or --csv)."),
                       usage);
        return;
    }
    if (parser.isSet(set) && parser.isSet(watch)) {
        r = usageError(QStringLiteral("Give either --watch or --set, not both."), usage);
        return;
    }
    for (const QCommandLineOption *option : {&count, &vcd, &csv, &quiet}) {
        if (parser.isSet(*option) && !parser.isSet(watch)) {
            r = usageError(QStringLiteral("--%1 goes with --watch.").arg(option->names().first()),
                           usage);
            return;
        }
    }
    if (parser.isSet(vcd) && parser.isSet(csv) && parser.value(vcd) == parser.value(csv)) {
        r = usageError(QStringLiteral("--vcd and --csv need two different files."), usage);
        return;
    }
    bool ok = true;
    const int polls = parser.isSet(count) ? parser.value(count).toInt(&ok) : 0;
    if (!ok || polls < 0 || (parser.isSet(count) && polls == 0)) {
        r = usageError(QStringLiteral("--count needs a number of 1 or more."), usage);
        return;
    }
    QList<std::pair<int, bool>> outputs;
    for (const QString &setting : settings) {
        const QString name = setting.section(u'=', 0, 0);
        const QString state = setting.section(u'=', 1);
        const int signal = IoSignals::outputNamed(name);
        if (signal < 0 || (state != QLatin1String("on") && state != QLatin1String("off"))) {
            r = usageError(QStringLiteral("%1: give NAME=on or NAME=off with NAME one of "
                                          "no-work, stopped, take-out, escape.")
                               .arg(setting),
                           usage);
            return;
        }
        outputs.append({signal, state == QLatin1String("on")});
    }
    r.command = info.command;
    r.watch = parser.isSet(watch);
    r.count = polls;
    r.vcd = parser.value(vcd);
    r.csv = parser.value(csv);
    r.quiet = parser.isSet(quiet);
    r.outputs = outputs;
    r.outcome = CliRequest::Outcome::Run;
}

// --restart of the commands that change items: restart, then read back.
QCommandLineOption restartAndReadBack() {
    return {QStringLiteral("restart"),
            QStringLiteral("Restart the controller after the write and read it back.")};
}

// get and set name items: get any number of them, set each with its new value, checked
// against the item's range here so that nothing is sent for a value the write would refuse.
void parseItemsCommand(const CommandInfo &info, const QStringList &arguments, CliRequest &r) {
    const bool set = info.command == CliRequest::Command::Set;
    QCommandLineParser parser;
    parser.setApplicationDescription(QLatin1String(info.description));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    const QCommandLineOption restart = restartAndReadBack();
    parser.addOption(help);
    if (set) {
        parser.addOption(restart);
        parser.addPositionalArgument(QStringLiteral("ITEM=VALUE"),
                                     QStringLiteral("An item and its new value."),
                                     QStringLiteral("ITEM=VALUE ..."));
    } else {
        parser.addPositionalArgument(QStringLiteral("ITEM"),
                                     QStringLiteral("An item to print (all without any)."),
                                     QStringLiteral("[ITEM ...]"));
    }
    QString usage;
    if (!parseArguments(parser, help, info, arguments, r, usage))
        return;
    const QStringList words = parser.positionalArguments();
    if (set && words.isEmpty()) {
        r = usageError(QStringLiteral("ITEM=VALUE is missing."), usage);
        return;
    }
    QList<const QvItem *> items;
    QList<std::pair<const QvItem *, qint32>> values;
    for (const QString &word : words) {
        const QString name = set ? word.section(u'=', 0, 0) : word;
        const QvItem *item = qvItemNamed(name);
        if (!item) {
            r = usageError(
                QStringLiteral("%1: no such item (\"qvpc-cli get\" lists them).").arg(name), usage);
            return;
        }
        if (items.contains(item)) {
            r = usageError(QStringLiteral("%1 is named twice.").arg(QLatin1String(item->name)),
                           usage);
            return;
        }
        items.append(item);
        if (!set)
            continue;
        bool ok = false;
        const qint32 value = word.section(u'=', 1).toInt(&ok);
        if (!ok || !word.contains(u'=') || value < item->low || value > item->high) {
            r = usageError(QStringLiteral("%1 takes a whole number from %2 to %3, not \"%4\".")
                               .arg(QLatin1String(item->name))
                               .arg(item->low)
                               .arg(item->high)
                               .arg(word.section(u'=', 1)),
                           usage);
            return;
        }
        values.append({item, value});
    }
    if (!set && items.isEmpty()) {
        for (const QvItem &item : QvItems)
            items.append(&item);
    }
    r.command = info.command;
    r.items = items;
    r.values = values;
    r.restart = set && parser.isSet(restart);
    // A sensor or homing item is written with the parameter blocks; without one they stay as
    // they are.
    r.parameters = std::any_of(values.begin(), values.end(),
                               [](const auto &v) { return v.first->isParameter(); });
    r.outcome = CliRequest::Outcome::Run;
}

// undo takes an optional entry number and --restart.
void parseUndoCommand(const CommandInfo &info, const QStringList &arguments, CliRequest &r) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QLatin1String(info.description));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    const QCommandLineOption restart = restartAndReadBack();
    parser.addOptions({help, restart});
    parser.addPositionalArgument(QStringLiteral("ENTRY"),
                                 QStringLiteral("The journal entry's number (history lists them)."),
                                 QStringLiteral("[ENTRY]"));
    QString usage;
    if (!parseArguments(parser, help, info, arguments, r, usage))
        return;
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1) {
        r = usageError(QStringLiteral("Too many arguments."), usage);
        return;
    }
    bool ok = true;
    const int entry = positional.isEmpty() ? 0 : positional.first().toInt(&ok);
    if (!ok || (!positional.isEmpty() && entry < 1)) {
        r = usageError(QStringLiteral("ENTRY is a number of \"qvpc-cli history\"."), usage);
        return;
    }
    r.command = info.command;
    r.entry = entry;
    r.restart = parser.isSet(restart);
    r.outcome = CliRequest::Outcome::Run;
}

} // namespace

QString CliRequest::Target::backupFile(const QString &pattern) const {
    QString filled = pattern;
    if (NetAddress::looksLikeUrl(device)) {
        // "rfc2217://[::1]:4001" names the file rfc2217_--1_4001: no folders, no colons.
        const NetAddress a = NetAddress::parse(device);
        QString host = a.host;
        host.replace(u':', u'-');
        return filled.replace(QLatin1String("{port}"), QStringLiteral("%1_%2_%3")
                                                           .arg(a.kind == NetAddress::Kind::Rfc2217
                                                                    ? QStringLiteral("rfc2217")
                                                                    : QStringLiteral("tcp"),
                                                                host)
                                                           .arg(a.port));
    }
    // A pseudo-terminal's bare number ("/dev/pts/1": "1") would read like COM1: "pts1".
    const QFileInfo node(device);
    const QString deviceName = node.path() == QLatin1String("/dev/pts")
                                   ? QStringLiteral("pts") + node.fileName()
                                   : node.fileName();
    return filled.replace(QLatin1String("{port}"), device.isEmpty() ? name() : deviceName);
}

namespace {

// What a usage error still tells of the command line: whether it asked for a JSON document and
// which known command it named.
void describeRefusedLine(const QStringList &arguments, CliRequest &r) {
    const QStringList withValue = {QStringLiteral("--port"), QStringLiteral("--device"),
                                   QStringLiteral("--lang")};
    bool commandSeen = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (a == QLatin1String("--"))
            break;
        if (a == QLatin1String("--json")) {
            r.json = true;
        } else if (withValue.contains(a)) {
            ++i;
        } else if (!commandSeen && !a.startsWith(u'-')) {
            commandSeen = true;
            for (const CommandInfo &info : Commands) {
                if (a == QLatin1String(info.name))
                    r.commandName = a;
            }
        }
    }
}

CliRequest parseLine(const QStringList &arguments) {
    CliRequest r;
    QStringList rest;
    if (!parseGlobals(globalsFirst(arguments), r, rest))
        return r;
    for (const CommandInfo &info : Commands) {
        if (rest.first() == QLatin1String(info.name)) {
            if (info.command == CliRequest::Command::Io)
                parseIoCommand(info, rest.mid(1), r);
            else if (info.command == CliRequest::Command::Undo)
                parseUndoCommand(info, rest.mid(1), r);
            else if (info.command == CliRequest::Command::Get ||
                     info.command == CliRequest::Command::Set)
                parseItemsCommand(info, rest.mid(1), r);
            else
                parseCommand(info, rest.mid(1), r);
            if (r.outcome == CliRequest::Outcome::Run)
                r.commandName = QLatin1String(info.name);
            return r;
        }
    }
    r = usageError(QStringLiteral("Unknown command: %1").arg(rest.first()),
                   parseCommandLine({Program, QStringLiteral("--help")}).text);
    return r;
}

} // namespace

CliRequest parseCommandLine(const QStringList &arguments) {
    CliRequest r = parseLine(arguments);
    if (r.outcome == CliRequest::Outcome::UsageError)
        describeRefusedLine(arguments, r);
    return r;
}
