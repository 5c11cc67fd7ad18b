// Each command's own options and arguments: the common reader of the table's flags and the
// readers of io, get, set, history and undo.
#include "cli/CliArguments.h"

#include "cli/CliCommands.h"
#include "cli/CliParsing.h"

#include "data/QvItems.h"
#include "iomon/IoSignals.h"

#include <QCommandLineParser>
#include <algorithm>

namespace {

using CliParsing::option;

// A command's own reader: its description and help option, then the options the command adds.
class CommandReader {
public:
    explicit CommandReader(const CliCommand &command) : m_command(command) {
        m_parser.setApplicationDescription(QLatin1String(command.description));
        m_parser.addOption(m_help);
    }

    QCommandLineParser &parser() { return m_parser; }

    // Reads the arguments into the parser and makes the usage text for the command's own
    // checks; false when that is all (r holds the usage error or the help).
    bool read(const QStringList &arguments, CliRequest &r) {
        m_usage = CliParsing::usageText(
            m_parser, QStringLiteral("%1 [global options] %2 ")
                          .arg(CliParsing::program(), QLatin1String(m_command.name)));
        if (!m_parser.parse(QStringList{CliParsing::program()} + arguments)) {
            refuse(r, m_parser.errorText());
            return false;
        }
        if (m_parser.isSet(m_help)) {
            r.outcome = CliRequest::Outcome::Help;
            r.text = m_usage;
            return false;
        }
        if (r.targets.size() > 1 && !m_command.is(CliCommand::Several)) {
            refuse(r, QStringLiteral("Several controllers can only be written, verified, read "
                                     "with get or changed with set."));
            return false;
        }
        return true;
    }

    // The line is refused with the command's usage.
    void refuse(CliRequest &r, const QString &error) const {
        r = CliParsing::usageError(error, m_usage);
    }
    // The line asks for the command to run.
    void run(CliRequest &r) const {
        r.command = &m_command;
        r.outcome = CliRequest::Outcome::Run;
    }

private:
    const CliCommand &m_command;
    QCommandLineParser m_parser;
    const QCommandLineOption m_help = option("h,help", "Show this help.");
    QString m_usage;
};

// --restart of the commands that change items: restart, then read back.
QCommandLineOption restartAndReadBack() {
    return option("restart", "Restart the controller after the write and read it back.");
}

} // namespace

void readCommonArguments(const CliCommand &command, const QStringList &arguments, CliRequest &r) {
    CommandReader reader(command);
    QCommandLineParser &parser = reader.parser();
    const QCommandLineOption output =
        option("o,output", "Write the data to this QV data file.", "FILE");
    const QCommandLineOption parameters = option(
        "parameters", "Include the sensor and homing parameters (blocks \"00\" and \"01\").");
    const QCommandLineOption restart = option("restart", "Restart the controller after the write.");
    const QCommandLineOption pdf = option("pdf", "Write the report to this PDF file.", "OUT.pdf");
    const QCommandLineOption details =
        option("details", "Print each differing item with both values to standard output.");
    const QCommandLineOption backup =
        option("backup", "Save the controller's data to BACKUP before writing.", "BACKUP");
    const QCommandLineOption dryRun =
        option("dry-run", "Print the items the write would change; write nothing.");
    const bool takesFile = command.has(CliCommand::File);
    const bool takesOutput = command.has(CliCommand::Output);
    const bool takesPdf = command.has(CliCommand::Pdf);
    const bool takesParameters = command.has(CliCommand::Parameters);
    const bool takesWriteOptions = command.has(CliCommand::WriteOptions);
    const bool takesDetails = command.has(CliCommand::Details);
    if (takesOutput)
        parser.addOption(output);
    if (takesPdf)
        parser.addOption(pdf);
    if (takesParameters)
        parser.addOption(parameters);
    if (takesWriteOptions)
        parser.addOptions({restart, backup, dryRun});
    if (takesDetails)
        parser.addOption(details);
    if (takesFile)
        parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A QV data file."));
    const QStringList choices =
        command.choices ? QString::fromLatin1(command.choices).split(u'|') : QStringList();
    if (command.choices)
        parser.addPositionalArgument(QLatin1String(command.argument),
                                     QLatin1String(command.choices),
                                     QLatin1String(command.choices));

    if (!reader.read(arguments, r))
        return;
    const QStringList positional = parser.positionalArguments();
    const qsizetype wanted = takesFile || command.choices ? 1 : 0;
    if (positional.size() != wanted) {
        const QString missing =
            takesFile ? QStringLiteral("FILE") : QLatin1String(command.argument);
        return reader.refuse(r, positional.size() < wanted
                                    ? missing + QStringLiteral(" is missing.")
                                    : QStringLiteral("Too many arguments."));
    }
    if (command.choices && !choices.contains(positional.first()))
        return reader.refuse(r, QStringLiteral("%1 is one of %2, not %3.")
                                    .arg(QLatin1String(command.argument),
                                         QLatin1String(command.choices), positional.first()));
    if (takesOutput && parser.isSet(output) && parser.value(output).isEmpty())
        return reader.refuse(r, QStringLiteral("-o needs a file name."));
    if (takesPdf && parser.value(pdf).isEmpty())
        return reader.refuse(r, QStringLiteral("--pdf needs a file name."));
    r.file = takesFile ? positional.first() : QString();
    r.choice = command.choices ? positional.first() : QString();
    r.output = takesOutput ? parser.value(output) : takesPdf ? parser.value(pdf) : QString();
    r.parameters = takesParameters && parser.isSet(parameters);
    r.restart = takesWriteOptions && parser.isSet(restart);
    r.details = takesDetails && parser.isSet(details);
    r.backup = takesWriteOptions ? parser.value(backup) : QString();
    r.dryRun = takesWriteOptions && parser.isSet(dryRun);
    if (r.dryRun && (r.restart || parser.isSet(backup)))
        return reader.refuse(r, QStringLiteral("--dry-run writes nothing: it goes without "
                                               "--restart and --backup."));
    if (takesWriteOptions && parser.isSet(backup) && r.backup.isEmpty())
        return reader.refuse(r, QStringLiteral("--backup needs a file name."));
    if (r.targets.size() > 1 && !r.backup.isEmpty()) {
        // Two controllers must never save over each other's backup.
        QStringList files;
        for (const CliTarget &target : r.targets)
            files.append(target.backupFile(r.backup));
        if (files.removeDuplicates() > 0)
            return reader.refuse(
                r, r.backup.contains(QLatin1String("{port}"))
                       ? QStringLiteral("Two controllers would share one BACKUP file.")
                       : QStringLiteral("With several controllers, BACKUP needs {port} in its "
                                        "name."));
    }
    reader.run(r);
}

// io has options of its own: either a watch or output settings, never both.
void readIoArguments(const CliCommand &command, const QStringList &arguments, CliRequest &r) {
    CommandReader reader(command);
    QCommandLineParser &parser = reader.parser();
    const QCommandLineOption watch = option("watch", "Read every 200 ms and print the changes.");
    const QCommandLineOption count = option("count", "End the watch after N reads.", "N");
    const QCommandLineOption set =
        option("set", "Switch an output on or off (may be repeated).", "NAME=on|off");
    const QCommandLineOption vcd =
        option("vcd", "Record the watch's reads into FILE as a VCD.", "FILE");
    const QCommandLineOption csv =
        option("csv", "Record the watch's reads into FILE as CSV.", "FILE");
    const QCommandLineOption quiet = option("quiet", "Print no lines during the watch.");
    parser.addOptions({watch, count, vcd, csv, quiet, set});
    parser.addPositionalArgument(QStringLiteral("NAME=on|off"),
                                 QStringLiteral("More outputs to switch, after --set."),
                                 QStringLiteral("[NAME=on|off ...]"));
    if (!reader.read(arguments, r))
        return;
    const QStringList settings = parser.values(set) + parser.positionalArguments();
    if (!parser.isSet(set) && !settings.isEmpty())
        return reader.refuse(r, QStringLiteral("Too many arguments."));
    if (r.json && parser.isSet(watch))
        return reader.refuse(r, QStringLiteral("--json prints one document at the end: it goes "
                                               "without --watch (record a watch with --vcd or "
                                               "--csv)."));
    if (parser.isSet(set) && parser.isSet(watch))
        return reader.refuse(r, QStringLiteral("Give either --watch or --set, not both."));
    for (const QCommandLineOption *watchOnly : {&count, &vcd, &csv, &quiet}) {
        if (parser.isSet(*watchOnly) && !parser.isSet(watch))
            return reader.refuse(
                r, QStringLiteral("--%1 goes with --watch.").arg(watchOnly->names().first()));
    }
    if (parser.isSet(vcd) && parser.isSet(csv) && parser.value(vcd) == parser.value(csv))
        return reader.refuse(r, QStringLiteral("--vcd and --csv need two different files."));
    bool ok = true;
    const int polls = parser.isSet(count) ? parser.value(count).toInt(&ok) : 0;
    if (!ok || polls < 0 || (parser.isSet(count) && polls == 0))
        return reader.refuse(r, QStringLiteral("--count needs a number of 1 or more."));
    QList<std::pair<int, bool>> outputs;
    for (const QString &setting : settings) {
        const QString name = setting.section(u'=', 0, 0);
        const QString state = setting.section(u'=', 1);
        const int signal = IoSignals::outputNamed(name);
        if (signal < 0 || (state != QLatin1String("on") && state != QLatin1String("off")))
            return reader.refuse(r, QStringLiteral("%1: give NAME=on or NAME=off with NAME one "
                                                   "of no-work, stopped, take-out, escape.")
                                        .arg(setting));
        outputs.append({signal, state == QLatin1String("on")});
    }
    reader.run(r);
    r.watch = parser.isSet(watch);
    r.count = polls;
    r.vcd = parser.value(vcd);
    r.csv = parser.value(csv);
    r.quiet = parser.isSet(quiet);
    r.outputs = outputs;
}

void readMoveArguments(const CliCommand &command, const QStringList &arguments, CliRequest &r) {
    CommandReader reader(command);
    QCommandLineParser &parser = reader.parser();
    const QCommandLineOption count =
        option("count", "End the repeat after N completed moves, timing each.", "N");
    const QCommandLineOption csv =
        option("csv", "Write each move's time into FILE as CSV.", "FILE");
    parser.addOptions({count, csv});
    parser.addPositionalArgument(QLatin1String(command.argument), QLatin1String(command.choices),
                                 QLatin1String(command.choices));
    if (!reader.read(arguments, r))
        return;
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return reader.refuse(r, positional.isEmpty() ? QLatin1String(command.argument) +
                                                           QStringLiteral(" is missing.")
                                                     : QStringLiteral("Too many arguments."));
    const QString position = positional.first();
    if (!QString::fromLatin1(command.choices).split(u'|').contains(position))
        return reader.refuse(
            r, QStringLiteral("%1 is one of %2, not %3.")
                   .arg(QLatin1String(command.argument), QLatin1String(command.choices), position));
    const bool timed = parser.isSet(count) || parser.isSet(csv);
    if (timed && position != QLatin1String("repeat"))
        return reader.refuse(r, QStringLiteral("--count and --csv go with repeat."));
    bool ok = true;
    const int moves = parser.isSet(count) ? parser.value(count).toInt(&ok) : 0;
    if (!ok || (parser.isSet(count) && moves < 1))
        return reader.refuse(r, QStringLiteral("--count needs a number of 1 or more."));
    if (parser.isSet(csv) && parser.value(csv).isEmpty())
        return reader.refuse(r, QStringLiteral("--csv needs a file name."));
    reader.run(r);
    r.choice = position;
    r.count = moves;
    r.csv = parser.value(csv);
}

void readEntryArguments(const CliCommand &command, const QStringList &arguments, CliRequest &r) {
    const bool undo = command.is(CliCommand::Writes);
    CommandReader reader(command);
    QCommandLineParser &parser = reader.parser();
    const QCommandLineOption restart = restartAndReadBack();
    const QCommandLineOption dryRun =
        option("dry-run", "Print the items the undo would change; write nothing.");
    if (undo)
        parser.addOptions({restart, dryRun});
    parser.addPositionalArgument(QStringLiteral("ENTRY"),
                                 QStringLiteral("The journal entry's number (history lists them)."),
                                 QStringLiteral("[ENTRY]"));
    if (!reader.read(arguments, r))
        return;
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        return reader.refuse(r, QStringLiteral("Too many arguments."));
    bool ok = true;
    const int entry = positional.isEmpty() ? 0 : positional.first().toInt(&ok);
    if (!ok || (!positional.isEmpty() && entry < 1))
        return reader.refuse(r, QStringLiteral("ENTRY is a number of \"qvpc-cli history\"."));
    if (undo && parser.isSet(dryRun) && parser.isSet(restart))
        return reader.refuse(r, QStringLiteral("--dry-run writes nothing: it goes without "
                                               "--restart."));
    reader.run(r);
    r.entry = entry;
    r.restart = undo && parser.isSet(restart);
    r.dryRun = undo && parser.isSet(dryRun);
}

// get and set name items: get any number of them, set each with its new value, checked
// against the item's range here so that nothing is sent for a value the write would refuse.
void readItemArguments(const CliCommand &command, const QStringList &arguments, CliRequest &r) {
    const bool set = command.is(CliCommand::Writes);
    CommandReader reader(command);
    QCommandLineParser &parser = reader.parser();
    const QCommandLineOption restart = restartAndReadBack();
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
    if (!reader.read(arguments, r))
        return;
    const QStringList words = parser.positionalArguments();
    if (set && words.isEmpty())
        return reader.refuse(r, QStringLiteral("ITEM=VALUE is missing."));
    QList<const QvItem *> items;
    QList<std::pair<const QvItem *, qint32>> values;
    for (const QString &word : words) {
        const QString name = set ? word.section(u'=', 0, 0) : word;
        const QvItem *item = qvItemNamed(name);
        if (!item)
            return reader.refuse(
                r, QStringLiteral("%1: no such item (\"qvpc-cli get\" lists them).").arg(name));
        if (items.contains(item))
            return reader.refuse(
                r, QStringLiteral("%1 is named twice.").arg(QLatin1String(item->name)));
        items.append(item);
        if (!set)
            continue;
        bool ok = false;
        const qint32 value = word.section(u'=', 1).toInt(&ok);
        if (!ok || !word.contains(u'=') || value < item->low || value > item->high)
            return reader.refuse(r, QStringLiteral("%1 takes a whole number from %2 to %3, not "
                                                   "\"%4\".")
                                        .arg(QLatin1String(item->name))
                                        .arg(item->low)
                                        .arg(item->high)
                                        .arg(word.section(u'=', 1)));
        values.append({item, value});
    }
    if (!set && items.isEmpty()) {
        for (const QvItem &item : QvItems)
            items.append(&item);
    }
    reader.run(r);
    r.items = items;
    r.values = values;
    r.restart = set && parser.isSet(restart);
    // A sensor or homing item is written with the parameter blocks; without one they stay as
    // they are.
    r.parameters = std::any_of(values.begin(), values.end(),
                               [](const auto &v) { return v.first->isParameter(); });
}
