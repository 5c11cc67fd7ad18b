// qvpc-cli's global options: the overall help, where they may stand, what they name.
#include "cli/CliCommands.h"
#include "cli/CliParsing.h"

#include "link/NetAddress.h"
#include "link/TlsSettings.h"
#include "session/PortChoice.h"

#include "base/ProgramVersion.h"
#include "base/VisibleText.h"

#include <QCommandLineParser>
#include <algorithm>

namespace {

using CliParsing::usageError;

// The global options that take a value.
QStringList globalsWithValue() {
    return {QStringLiteral("--port"), QStringLiteral("--device"), QStringLiteral("--lang"),
            QStringLiteral("--ca"),   QStringLiteral("--pin"),    QStringLiteral("--cert"),
            QStringLiteral("--key")};
}

QString globalHelp(const QCommandLineParser &parser) {
    QString text = CliParsing::usageText(parser, CliParsing::program() + u' ');
    text += QStringLiteral("\nCommands:\n");
    for (const CliCommand &c : cliCommands())
        text += QStringLiteral("  %1 %2\n")
                    .arg(QLatin1String(c.name), -8)
                    .arg(QLatin1String(c.summary));
    text += QStringLiteral(
        "\n'qvpc-cli COMMAND --help' describes a command. Messages go to standard error in the\n"
        "chosen language. Exit status: 0 done (verify: equal), 1 failed or different, 2 usage "
        "error.\n");
    return text;
}

} // namespace

namespace CliParsing {

bool readGlobals(const QStringList &arguments, CliRequest &r, QStringList &rest) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Reads, writes and verifies a QV feeder controller's settings and test-moves the feeder\n"
        "without a window."));
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption help = option("h,help", "Show this help.");
    const QCommandLineOption port = option("port", "Use COM N (1 to 32) of the port map.", "N");
    const QCommandLineOption device =
        option("device", "Open this serial device (or network address) directly.", "PATH");
    const QCommandLineOption ca =
        option("ca", "TLS: the CA file the server's certificate must chain to.", "FILE");
    const QCommandLineOption pin = option(
        "pin", "TLS: the server certificate's SHA-256 fingerprint instead of a CA.", "SHA256");
    const QCommandLineOption cert =
        option("cert", "TLS: the client certificate to present (with --key).", "FILE");
    const QCommandLineOption key =
        option("key", "TLS: the client certificate's key (readable by its owner only).", "FILE");
    const QCommandLineOption lang =
        option("lang", "Texts in Japanese (ja) or English (en).", "ja|en");
    const QCommandLineOption yes = option("yes", "Answer Yes/OK to the program's questions.");
    const QCommandLineOption version = option("version", "Show the program's version.");
    const QCommandLineOption trace =
        option("trace", "Show every line sent and received, with the time, on standard error.");
    const QCommandLineOption journal =
        option("journal", "Journal this run's writes (reads the controller before each write).");
    const QCommandLineOption noJournal = option("no-journal", "Do not journal this run's writes.");
    const QCommandLineOption json =
        option("json", "Print one JSON document on standard output instead of lines.");
    parser.addOptions({help, port, device, ca, pin, cert, key, lang, yes, version, trace, json,
                       journal, noJournal});
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
        r.text = QStringLiteral("%1 %2\n").arg(program(), ProgramVersion::number());
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
        // A name is taken whole, and refused for what the options dialog refuses in the port map.
        switch (portNameFault(value)) {
        case PortNameFault::ControlCharacter:
            r = usageError(QStringLiteral("--device %1: a control character is no part of a "
                                          "port's name.")
                               .arg(VisibleText::inLine(value)),
                           usage);
            return false;
        case PortNameFault::BadAddress:
            r = usageError(QStringLiteral("--device %1: a network line is rfc2217://HOST:PORT or "
                                          "tcp://HOST:PORT ([HOST] for IPv6), over TLS "
                                          "rfc2217+tls:// or tcp+tls://.")
                               .arg(value),
                           usage);
            return false;
        case PortNameFault::None:
            break;
        }
        // An address is stored and compared in one spelling: "TCP://Host:4001/" is
        // "tcp://host:4001".
        r.targets.append(
            {0, NetAddress::looksLikeUrl(value) ? NetAddress::parse(value).url() : value});
    }
    QStringList names;
    for (const CliTarget &target : r.targets)
        names.append(target.name());
    if (names.removeDuplicates() > 0) {
        r = usageError(QStringLiteral("A controller is named twice."), usage);
        return false;
    }
    if (r.targets.size() == 1) {
        r.portNo = r.targets.first().portNo;
        r.device = r.targets.first().device;
    }
    r.caFile = parser.value(ca);
    r.pin = parser.value(pin);
    r.certFile = parser.value(cert);
    r.keyFile = parser.value(key);
    if (!TlsSettings{{}, r.pin, {}, {}}.pinValid()) {
        r = usageError(QStringLiteral("--pin is the SHA-256 fingerprint: 64 hexadecimal digits, "
                                      "colons allowed."),
                       usage);
        return false;
    }
    if (parser.isSet(cert) != parser.isSet(key)) {
        r = usageError(QStringLiteral("Give --cert and --key together."), usage);
        return false;
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

// "qvpc-cli read --port 3" means "qvpc-cli --port 3 read". Nothing after "--" is moved.
QStringList globalsFirst(const QStringList &arguments) {
    const QStringList withValue = globalsWithValue();
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

void describeRefusedLine(const QStringList &arguments, CliRequest &r) {
    const QStringList withValue = globalsWithValue();
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
            if (cliCommandNamed(a))
                r.commandName = a;
        }
    }
}

} // namespace CliParsing
