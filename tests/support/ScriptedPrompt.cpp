#include "support/ScriptedPrompt.h"

MsgAnswer ScriptedPrompt::MsgBox(const QString &text, MsgButtons buttons, MsgIcon icon, int id) {
    shown.append({text, buttons, icon, id, QString()});
    return answers.isEmpty() ? dismissAnswer(buttons) : answers.takeFirst();
}

MsgAnswer ScriptedPrompt::MsgBoxDetailed(const QString &text, const QString &details,
                                         MsgButtons buttons, MsgIcon icon, int id) {
    const MsgAnswer answer = MsgBox(text, buttons, icon, id);
    shown.last().details = details;
    return answer;
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
