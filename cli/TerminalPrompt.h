#pragma once

#include "base/UserPrompt.h"

#include <QHash>
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

    MsgAnswer MsgBox(const QString &text, MsgButtons buttons = MsgButtons::OkOnly,
                     MsgIcon icon = MsgIcon::None, int id = 0) override;

    // Prints a message of the front end itself.
    void tell(const QString &text);

    // True once any message or question has been printed.
    bool anythingShown() const { return m_shown; }

private:
    struct Flag {
        bool given = false;
        QString name;
    };

    QTextStream &m_err;
    bool m_yes = false;
    bool m_shown = false;
    QHash<int, Flag> m_flags;
};
