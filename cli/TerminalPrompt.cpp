#include "cli/TerminalPrompt.h"

#include "base/MessageLines.h"
#include "base/ResText.h"

#include <QTextStream>

namespace {

// The positive answer of a box, if it has one that a flag stands for.
bool positiveAnswer(MsgButtons buttons, MsgAnswer &answer) {
    switch (buttons) {
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel:
        answer = MsgAnswer::Yes;
        return true;
    case MsgButtons::OkCancel:
        answer = MsgAnswer::Ok;
        return true;
    case MsgButtons::OkOnly:
    case MsgButtons::AbortRetryIgnore:
    case MsgButtons::RetryCancel:
        break;
    }
    return false;
}

} // namespace

TerminalPrompt::TerminalPrompt(QTextStream &err, bool yes, bool restart)
    : m_err(err), m_yes(yes), m_restart(restart) {}

bool TerminalPrompt::agrees(Question question) const {
    if (m_answeredBefore.contains(question))
        return true;
    return question == Question::RestartAfterWrite ? m_restart : m_yes;
}

void TerminalPrompt::tell(const QString &text) {
    print(text);
}

void TerminalPrompt::print(const QString &text) {
    QString shown = text;
    shown.replace(CrLf, QStringLiteral("\n"));
    // A text that ends with its own line break gets no empty line after it.
    if (!shown.endsWith(u'\n'))
        shown += u'\n';
    m_err << shown;
    m_err.flush();
}

MsgAnswer TerminalPrompt::byFlag(bool given, const QString &flag, MsgButtons buttons) {
    MsgAnswer answer = MsgAnswer::Ok;
    if (given && positiveAnswer(buttons, answer))
        return answer;
    print(ResText(1300).arg(flag));
    return dismissAnswer(buttons);
}

MsgAnswer TerminalPrompt::MsgBox(const QString &text, MsgButtons buttons, MsgIcon) {
    print(text);
    if (buttons == MsgButtons::OkOnly)
        return MsgAnswer::Ok;
    return byFlag(m_yes, QStringLiteral("--yes"), buttons);
}

MsgAnswer TerminalPrompt::ask(Question question, const QString &text, MsgButtons buttons, MsgIcon) {
    MsgAnswer answer = MsgAnswer::Ok;
    if (m_answeredBefore.contains(question) && positiveAnswer(buttons, answer))
        return answer;
    print(text);
    if (question == Question::RestartAfterWrite)
        return byFlag(m_restart, QStringLiteral("--restart"), buttons);
    return byFlag(m_yes, QStringLiteral("--yes"), buttons);
}
