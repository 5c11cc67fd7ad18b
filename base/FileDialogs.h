#pragma once

#include <QString>
#include <QStringList>

// The file choosers the operations use, without widgets: the main window answers with real file
// dialogs, the tests with scripted answers. Like a common dialog, one object serves every file
// dialog of the main window and keeps the title, default extension and file name it last had:
// an operation that leaves them unset shows them as they were.
class FileDialogs {
public:
    struct Options {
        QString title;
        // Pairs of description and pattern, separated by "|": "desc|pattern|desc|pattern".
        QString filter;
        QString defaultExt; // without the dot
        QString initialDir; // empty: wherever the dialog opens by itself
        QString fileName;   // proposed file name (save) or empty
        bool overwritePrompt = false;

        // A file a window writes (a log, a recording, a table): asks before replacing one.
        static Options forSaving(const QString &title, const QString &filter,
                                 const QString &defaultExt) {
            Options options;
            options.title = title;
            options.filter = filter;
            options.defaultExt = defaultExt;
            options.overwritePrompt = true;
            return options;
        }
    };

    virtual ~FileDialogs() = default;

    // Each returns the chosen full path, or an empty text when the user cancelled. The options
    // become what the dialog last had; the chosen path becomes its file name.
    QString ShowOpen(const Options &options);
    QString ShowSave(const Options &options);

    // What the dialog last had: the starting point for a dialog that keeps them.
    const Options &last() const { return m_last; }

    // "desc|pattern|..." as Qt name filters: "desc (pattern)" per pair, empty pairs left out, the
    // all-files pattern "*.*" as "*" and every pattern also in upper case, so that files written
    // on systems that ignore case are found.
    static QStringList qtNameFilters(const QString &filter);

protected:
    virtual QString chooseOpen(const Options &options) = 0;
    virtual QString chooseSave(const Options &options) = 0;

private:
    QString remember(const Options &options, const QString &chosen);

    Options m_last;
};
