#pragma once

#include "base/UserPrompt.h"

#include <QHash>
#include <QSet>
#include <QString>

class QTextStream;

// The program's messages on a terminal: each text goes to the error stream, its CR LF shown as
// line breaks. Nobody answers at a terminal run: a question is answered Yes/OK only when the
// command line said so (--yes, or a flag of the question's own), otherwise with the answer that
// stops (No, Cancel, Abort) and a note naming the flag that was missing.
class TerminalPrompt : public UserPrompt {
public:
    TerminalPrompt(QTextStream &err, bool yes);

    // The question with this text id is answered by its own flag instead of --yes.
    void answerBy(int questionId, bool given, const QString &flag);
    // The question with this id was asked and answered OK already (once for several
    // controllers): it is answered OK again without being printed.
    void answeredBefore(int questionId) { m_answeredBefore.insert(questionId); }
    // Whether the question with this id would be answered Yes/OK.
    bool answersYes(int questionId) const;

    MsgAnswer MsgBox(const QString &text, MsgButtons buttons = MsgButtons::OkOnly,
                     MsgIcon icon = MsgIcon::None, int id = 0) override;

    // Prints a message of the front end itself.
    void tell(const QString &text);

    // True once any message or question has been printed.
    bool anythingShown() const { return m_shown; }
    // The first message that was not a question, lines joined by blanks (what went wrong first).
    QString firstNotice() const { return m_firstNotice; }

private:
    struct Flag {
        bool given = false;
        QString name;
    };

    void print(const QString &text);

    QTextStream &m_err;
    QString m_firstNotice;
    bool m_yes = false;
    bool m_shown = false;
    QHash<int, Flag> m_flags;
    QSet<int> m_answeredBefore;
};
