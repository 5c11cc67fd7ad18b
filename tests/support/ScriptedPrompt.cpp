#include "support/ScriptedPrompt.h"

MsgAnswer ScriptedPrompt::MsgBox(const QString &text, MsgButtons buttons, MsgIcon icon) {
    shown.append({text, buttons, icon, std::nullopt, QString()});
    if (onShown)
        onShown(text);
    return answers.isEmpty() ? dismissAnswer(buttons) : answers.takeFirst();
}

MsgAnswer ScriptedPrompt::MsgBoxDetailed(const QString &text, const QString &details,
                                         MsgButtons buttons, MsgIcon icon) {
    const MsgAnswer answer = MsgBox(text, buttons, icon);
    shown.last().details = details;
    return answer;
}

MsgAnswer ScriptedPrompt::ask(Question question, const QString &text, MsgButtons buttons,
                              MsgIcon icon) {
    if (const auto named = answerTo.constFind(question); named != answerTo.constEnd()) {
        shown.append({text, buttons, icon, question, QString()});
        return *named;
    }
    const MsgAnswer answer = MsgBox(text, buttons, icon);
    shown.last().question = question;
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
    answerTo.clear();
    shown.clear();
    beeps = 0;
}
