#include "app/WindowOptions.h"

WindowOptions WindowOptions::read(const QStringList &arguments) {
    WindowOptions options;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == QLatin1String("--version")) {
            options.version = true;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options.help = true;
        } else if (argument == QLatin1String("--lang") ||
                   argument.startsWith(QLatin1String("--lang="))) {
            const bool joined = argument.contains(u'=');
            const QString value = joined ? argument.section(u'=', 1) : arguments.value(++i);
            if (value != QLatin1String("ja") && value != QLatin1String("en"))
                options.error = QStringLiteral("--lang is ja or en.");
            else
                options.language = value;
        }
    }
    return options;
}

QString WindowOptions::helpText() {
    return QStringLiteral(
        "Usage: qvpc [--demo] [--lang ja|en] [Qt options]\n"
        "The QV PC-Software window.\n\n"
        "  --demo       a simulated controller inside the program answers on every\n"
        "               port number (no hardware needed)\n"
        "  --lang ja|en the window in Japanese or English for this run; without it the\n"
        "               language chosen in Options (Japanese until one is chosen)\n"
        "  --version    print the program's version and exit\n"
        "  --help, -h   print this and exit\n\n"
        "Qt's own options apply too, for example -platform offscreen,\n"
        "-style NAME, -reverse, -qwindowgeometry WxH+X+Y.\n"
        "The terminal program qvpc-cli does the same operations from a script.\n");
}
