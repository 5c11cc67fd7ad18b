#pragma once

#include <QString>

// How the logic asks the user something: a message box with a text, a set of buttons and an
// icon, titled QVPC-Software, that returns the button pressed. The windows answer with a real
// message box, the tests with scripted answers, a terminal front end from its command line.
enum class MsgButtons { OkOnly, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgAnswer { Ok, Cancel, Abort, Retry, Ignore, Yes, No };

// The questions the operations ask, each by its own name.
enum class Question {
    ReadFromController, // read the controller's data?
    SaveBeforeRead,     // save the edited data before the read replaces them?
    WriteToController,  // write the data to the controller?
    RestartAfterWrite,  // written; restart the controller?
    SaveBeforeReplace,  // save the changed data before New, Open or closing?
    ExitProgram,        // end the program?
    ReverseRotation,    // change the rotation direction despite the warning?
    WriteChanges,       // these items will change: go on to the write's question?
};
// The answer to a question that offers to save first.
enum class SaveChoice { Save, Discard, Cancel };

class UserPrompt {
public:
    static constexpr const char *Title = "QVPC-Software";

    virtual ~UserPrompt() = default;

    // Text lines are joined with CR LF; the box shows each CR LF as one line break.
    virtual MsgAnswer MsgBox(const QString &text, MsgButtons buttons = MsgButtons::OkOnly,
                             MsgIcon icon = MsgIcon::None) = 0;

    // The same box offering a longer text on request (a report's details). Front ends that have
    // no place for it show the box alone.
    virtual MsgAnswer MsgBoxDetailed(const QString &text, const QString &details,
                                     MsgButtons buttons = MsgButtons::OkOnly,
                                     MsgIcon icon = MsgIcon::None) {
        Q_UNUSED(details);
        return MsgBox(text, buttons, icon);
    }

    // The system beep that goes with refused input.
    virtual void Beep() {}

    // --- the questions (Questions.cpp), each with its own text, buttons and icon ---
    bool confirmRead();
    SaveChoice saveBeforeRead();
    bool confirmWrite();
    bool confirmRestart();
    SaveChoice saveBeforeReplace();
    bool confirmExit();
    bool confirmReverseRotation();
    // What a write will change (the lines of the changed items; none: nothing will change).
    bool confirmChanges(const QStringList &changes);

protected:
    // How a question is put and answered. By default it is the message box of its text; a front
    // end without a person to ask answers by the question's name (qvpc-cli from its options,
    // tests from their script).
    virtual MsgAnswer ask(Question question, const QString &text, MsgButtons buttons,
                          MsgIcon icon) {
        Q_UNUSED(question);
        return MsgBox(text, buttons, icon);
    }
};

// The answer a box gives when it is dismissed without a choice (Escape, close box): Cancel where
// there is one, otherwise the only or last button.
MsgAnswer dismissAnswer(MsgButtons buttons);

// Readable names, for terminal output and test failure messages.
const char *toString(MsgButtons buttons);
const char *toString(MsgIcon icon);
const char *toString(MsgAnswer answer);
const char *toString(Question question);
