// Feeds arbitrary command lines to qvpc-cli's option parser: the input's lines (UTF-8) are the
// arguments after the program name. A request to run must hold only what its command takes,
// controllers named once each with port numbers 1 to 32, and backup files of their own; written
// back as a command line it must parse to the same request. Help and usage errors carry their
// text.

#include "cli/CliCommands.h"
#include "cli/CliOptions.h"
#include "data/QvItems.h"
#include "fuzz/FuzzSupport.h"
#include "iomon/IoSignals.h"

#include <algorithm>
#include <initializer_list>

namespace {

// Whether the request runs one of these commands.
bool runs(const CliRequest &r, std::initializer_list<const char *> names) {
    return r.command && std::any_of(names.begin(), names.end(), [&r](const char *name) {
               return QLatin1String(name) == QLatin1String(r.command->name);
           });
}

// The request as a command line, every value in the --name=value form and the positional
// argument behind "--", so that no value is taken for an option.
QStringList commandLine(const CliRequest &r) {
    QStringList a{QStringLiteral("qvpc-cli")};
    for (const CliTarget &t : r.targets)
        a << (t.device.isEmpty() ? QStringLiteral("--port=%1").arg(t.portNo)
                                 : QStringLiteral("--device=") + t.device);
    if (!r.language.isEmpty())
        a << QStringLiteral("--lang=") + r.language;
    if (r.yes)
        a << QStringLiteral("--yes");
    if (r.trace)
        a << QStringLiteral("--trace");
    if (r.journal != 0)
        a << (r.journal > 0 ? QStringLiteral("--journal") : QStringLiteral("--no-journal"));
    a << QLatin1String(r.command->name);
    if (!r.output.isEmpty())
        a << (runs(r, {"print"}) ? QStringLiteral("--pdf=") : QStringLiteral("--output=")) +
                 r.output;
    if (r.parameters)
        a << QStringLiteral("--parameters");
    if (r.restart)
        a << QStringLiteral("--restart");
    if (r.details)
        a << QStringLiteral("--details");
    if (!r.backup.isEmpty())
        a << QStringLiteral("--backup=") + r.backup;
    if (r.watch)
        a << QStringLiteral("--watch");
    if (r.count > 0)
        a << QStringLiteral("--count=%1").arg(r.count);
    if (!r.vcd.isEmpty())
        a << QStringLiteral("--vcd=") + r.vcd;
    if (!r.csv.isEmpty())
        a << QStringLiteral("--csv=") + r.csv;
    if (r.quiet)
        a << QStringLiteral("--quiet");
    if (r.dryRun)
        a << QStringLiteral("--dry-run");
    for (const auto &[signal, on] : r.outputs)
        a << QStringLiteral("--set=%1=%2")
                 .arg(QLatin1String(IoSignals::table()[size_t(signal)].cliName),
                      on ? QStringLiteral("on") : QStringLiteral("off"));
    if (runs(r, {"write", "verify", "show", "print"}))
        a << QStringLiteral("--") << r.file;
    else if (runs(r, {"move", "mode"}))
        a << QStringLiteral("--") << r.choice;
    else if (runs(r, {"set"})) {
        a << QStringLiteral("--");
        for (const auto &[item, value] : r.values)
            a << QStringLiteral("%1=%2").arg(QLatin1String(item->name)).arg(value);
    } else if (runs(r, {"undo"}) && r.entry != 0) {
        a << QStringLiteral("--") << QString::number(r.entry);
    } else if (runs(r, {"get"}) && !r.items.isEmpty()) {
        a << QStringLiteral("--");
        for (const QvItem *item : r.items)
            a << QLatin1String(item->name);
    }
    return a;
}

QStringList names(const CliRequest &r) {
    QStringList list;
    for (const CliTarget &t : r.targets)
        list << t.name();
    return list;
}

bool same(const CliRequest &a, const CliRequest &b) {
    return a.outcome == b.outcome && a.command == b.command && a.portNo == b.portNo &&
           a.device == b.device && names(a) == names(b) && a.trace == b.trace &&
           a.details == b.details && a.backup == b.backup && a.language == b.language &&
           a.yes == b.yes && a.file == b.file && a.output == b.output && a.choice == b.choice &&
           a.parameters == b.parameters && a.restart == b.restart && a.watch == b.watch &&
           a.count == b.count && a.outputs == b.outputs && a.vcd == b.vcd && a.csv == b.csv &&
           a.quiet == b.quiet && a.dryRun == b.dryRun && a.items == b.items &&
           a.values == b.values && a.journal == b.journal && a.entry == b.entry;
}

void checkRun(const CliRequest &r) {
    const bool several = r.targets.size() > 1;
    fuzz::require(r.command && r.text.isEmpty() && r.error.isEmpty());
    QStringList files;
    for (const CliTarget &t : r.targets) {
        fuzz::require(t.device.isEmpty() ? t.portNo >= 1 && t.portNo <= 32 : t.portNo == 0);
        files << t.backupFile(r.backup);
    }
    fuzz::require(names(r).removeDuplicates() == 0);
    fuzz::require(!several || runs(r, {"write", "verify", "get", "set"}));
    fuzz::require(!several || r.backup.isEmpty() || files.removeDuplicates() == 0);
    fuzz::require(r.targets.size() == 1
                      ? r.portNo == r.targets.first().portNo && r.device == r.targets.first().device
                      : r.portNo == 0 && r.device.isEmpty());
    fuzz::require(r.language.isEmpty() || r.language == QLatin1String("ja") ||
                  r.language == QLatin1String("en"));
    const bool takesFile = runs(r, {"write", "verify", "show", "print"});
    fuzz::require(takesFile || r.file.isEmpty());
    fuzz::require(runs(r, {"move", "mode"}) ? !r.choice.isEmpty() : r.choice.isEmpty());
    fuzz::require(runs(r, {"print"}) ? !r.output.isEmpty()
                                     : runs(r, {"read"}) || r.output.isEmpty());
    fuzz::require(runs(r, {"write", "verify"}) || !r.parameters);
    fuzz::require(runs(r, {"write"}) || r.backup.isEmpty());
    fuzz::require(runs(r, {"write", "set", "undo"}) || !r.restart);
    fuzz::require(runs(r, {"undo"}) ? r.entry >= 0 : r.entry == 0);
    fuzz::require(r.journal >= -1 && r.journal <= 1);
    fuzz::require(runs(r, {"verify"}) || !r.details);
    fuzz::require(runs(r, {"io"}) || (!r.watch && r.count == 0 && r.outputs.isEmpty()));
    fuzz::require(r.count >= 0 && (r.count == 0 || r.watch) && !(r.watch && !r.outputs.isEmpty()));
    for (const auto &output : r.outputs)
        fuzz::require(IoSignals::table()[size_t(output.first)].isOutput());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz::ensureApplication();
    QByteArray input = fuzz::bytes(data, size);
    if (input.endsWith('\n'))
        input.chop(1);
    QStringList arguments{QStringLiteral("qvpc-cli")};
    if (!input.isEmpty())
        arguments += QString::fromUtf8(input).split(u'\n');

    const CliRequest r = parseCommandLine(arguments);
    switch (r.outcome) {
    case CliRequest::Outcome::Run:
        checkRun(r);
        fuzz::require(same(parseCommandLine(commandLine(r)), r));
        break;
    case CliRequest::Outcome::Help:
        fuzz::require(!r.text.isEmpty() && r.error.isEmpty() && !r.command);
        break;
    case CliRequest::Outcome::UsageError:
        fuzz::require(!r.text.isEmpty() && !r.error.isEmpty() && !r.command);
        break;
    }
    return 0;
}
