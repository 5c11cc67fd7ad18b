#include "support/ScriptedPrompt.h"

MsgAnswer ScriptedPrompt::MsgBox(const QString &text, MsgButtons buttons, MsgIcon icon, int id) {
    shown.append({text, buttons, icon, id});
    return answers.isEmpty() ? dismissAnswer(buttons) : answers.takeFirst();
}

QStringList ScriptedPrompt::texts() const {
    QStringList out;
    for (const Shown &s : shown)
        out.append(s.text);
    return out;
}

void ScriptedPrompt::clear() {
    answers.clear();
    shown.clear();
    beeps = 0;
}
