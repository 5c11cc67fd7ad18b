#pragma once

#include "base/UserPrompt.h"

#include <QSet>
#include <QString>

class QTextStream;

// The program's messages on a terminal: each text goes to the error stream, its CR LF shown as
// line breaks. Nobody answers at a terminal run: a question is answered Yes/OK only when the
// command line said so (--restart for the restart after a write, --yes for every other),
// otherwise with the answer that stops (No, Cancel) and a note naming the flag that was missing.
class TerminalPrompt : public UserPrompt {
public:
    TerminalPrompt(QTextStream &err, bool yes, bool restart);

    // This question was asked and agreed to already (once for several controllers): it is
    // agreed to again without being printed.
    void answeredBefore(Question question) { m_answeredBefore.insert(question); }
    // Whether the question would be agreed to.
    bool agrees(Question question) const;

    MsgAnswer MsgBox(const QString &text, MsgButtons buttons = MsgButtons::OkOnly,
                     MsgIcon icon = MsgIcon::None) override;

    // Prints a message of the front end itself.
    void tell(const QString &text);

protected:
    MsgAnswer ask(Question question, const QString &text, MsgButtons buttons,
                  MsgIcon icon) override;

private:
    void print(const QString &text);
    // The answer a flag gives: the positive one when given, else the note and the stopping one.
    MsgAnswer byFlag(bool given, const QString &flag, MsgButtons buttons);

    QTextStream &m_err;
    bool m_yes = false;
    bool m_restart = false;
    QSet<Question> m_answeredBefore;
};
