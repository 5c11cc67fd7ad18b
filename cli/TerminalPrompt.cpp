#include "cli/TerminalPrompt.h"

#include "base/ResText.h"

#include <QTextStream>

namespace {

// The positive answer of a question, if it has one that --yes stands for.
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

TerminalPrompt::TerminalPrompt(QTextStream &err, bool yes) : m_err(err), m_yes(yes) {}

void TerminalPrompt::answerBy(int questionId, bool given, const QString &flag) {
    m_flags.insert(questionId, Flag{given, flag});
}

bool TerminalPrompt::answersYes(int questionId) const {
    return m_answeredBefore.contains(questionId) ||
           m_flags.value(questionId, Flag{m_yes, QString()}).given;
}

void TerminalPrompt::tell(const QString &text) {
    if (m_firstNotice.isEmpty()) {
        QStringList lines;
        for (const QString &line : text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
            lines.append(line.trimmed());
        m_firstNotice = lines.join(u' ');
    }
    print(text);
}

void TerminalPrompt::print(const QString &text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // A text that ends with its own line break gets no empty line after it.
    if (!shown.endsWith(u'\n'))
        shown += u'\n';
    m_err << shown;
    m_err.flush();
    m_shown = true;
}

MsgAnswer TerminalPrompt::MsgBox(const QString &text, MsgButtons buttons, MsgIcon, int id) {
    if (buttons == MsgButtons::OkOnly) {
        tell(text);
        return MsgAnswer::Ok;
    }
    MsgAnswer answer = MsgAnswer::Ok;
    if (m_answeredBefore.contains(id) && positiveAnswer(buttons, answer))
        return answer;
    print(text);

    const Flag flag = m_flags.value(id, Flag{m_yes, QStringLiteral("--yes")});
    if (flag.given && positiveAnswer(buttons, answer))
        return answer;
    print(ResText(1300).arg(flag.name));
    return dismissAnswer(buttons);
}
