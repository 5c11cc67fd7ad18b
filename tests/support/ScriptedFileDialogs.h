#pragma once

#include "base/FileDialogs.h"

#include <QList>
#include <QString>

// Answers file dialogs from a list of paths (an empty path cancels) and records every dialog
// shown with its options.
class ScriptedFileDialogs : public FileDialogs {
public:
    struct Shown {
        bool save;
        Options options;
    };

    // Paths given in order; when the list runs out, each dialog is cancelled.
    QList<QString> answers;
    QList<Shown> shown;

protected:
    QString chooseOpen(const Options &options) override { return answer(false, options); }
    QString chooseSave(const Options &options) override { return answer(true, options); }

private:
    QString answer(bool save, const Options &options);
};
