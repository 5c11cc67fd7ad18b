#pragma once

#include "gui/HelpFile.h"
#include "support/ScriptedPrompt.h"

#include <QString>

// The help file's path that help takes for a program in folder.
inline QString helpPathFor(const QString &folder) {
    ScriptedPrompt prompt;
    HelpFile help(prompt);
    help.InitHelp(folder);
    return help.path();
}
