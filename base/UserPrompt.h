#pragma once

#include <QString>

// How the logic asks the user something: a message box with a text, a set of buttons and an
// icon, titled QVPC-Software, that returns the button pressed. The windows answer with a real
// message box, the tests with scripted answers, a terminal front end from its command line.
enum class MsgButtons { OkOnly, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgAnswer { Ok, Cancel, Abort, Retry, Ignore, Yes, No };

class UserPrompt {
public:
    static constexpr const char *Title = "QVPC-Software";

    virtual ~UserPrompt() = default;

    // Text lines are joined with CR LF; the box shows each CR LF as one line break. A question
    // (a box with more than one button) carries the id of its text, so that a front end without
    // a person to ask can answer it by id, whatever the text reads in the language in force.
    virtual MsgAnswer MsgBox(const QString &text, MsgButtons buttons = MsgButtons::OkOnly,
                             MsgIcon icon = MsgIcon::None, int id = 0) = 0;

    // The same box offering a longer text on request (a report's details). Front ends that have
    // no place for it show the box alone.
    virtual MsgAnswer MsgBoxDetailed(const QString &text, const QString &details,
                                     MsgButtons buttons = MsgButtons::OkOnly,
                                     MsgIcon icon = MsgIcon::None, int id = 0) {
        Q_UNUSED(details);
        return MsgBox(text, buttons, icon, id);
    }

    // The system beep that goes with refused input.
    virtual void Beep() {}
};

// The answer a box gives when it is dismissed without a choice (Escape, close box): Cancel where
// there is one, otherwise the only or last button.
MsgAnswer dismissAnswer(MsgButtons buttons);

// Readable names, for terminal output and test failure messages.
const char *toString(MsgButtons buttons);
const char *toString(MsgIcon icon);
const char *toString(MsgAnswer answer);
