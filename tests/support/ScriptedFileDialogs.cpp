#include "support/ScriptedFileDialogs.h"

QString ScriptedFileDialogs::answer(bool save, const Options &options) {
    shown.append({save, options});
    return answers.isEmpty() ? QString() : answers.takeFirst();
}
