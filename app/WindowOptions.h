#pragma once

#include <QString>
#include <QStringList>

// The window program's own command-line options, read before Qt takes its own: --version and
// --help, which need no display, and --lang, which picks the language of this run.
struct WindowOptions {
    bool version = false;
    bool help = false;
    // "ja" or "en"; empty: the stored language.
    QString language;
    // A usage error in one line; the program then ends with status 2.
    QString error;

    // Reads the options from the program's arguments (the program's name first); other
    // arguments (--demo, Qt's) are left to those who take them.
    static WindowOptions read(const QStringList &arguments);
    static QString helpText();
};
