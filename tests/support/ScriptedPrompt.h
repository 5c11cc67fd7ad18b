#pragma once

#include "base/UserPrompt.h"

#include <QHash>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

// Answers message boxes from a list and records every box shown.
class ScriptedPrompt : public UserPrompt {
public:
    struct Shown {
        QString text;
        MsgButtons buttons;
        MsgIcon icon;
        std::optional<Question> question; // the question this box asked, if it was one
        QString details;                  // the box's details on request, if it offered any
    };

    // Answers given in order; when the list runs out, each box is dismissed (dismissAnswer).
    QList<MsgAnswer> answers;
    // Answers by the question's name; a named question takes its answer from here first.
    QHash<Question, MsgAnswer> answerTo;
    QList<Shown> shown;
    int beeps = 0;
    // Called with each box's text as it is shown (to note what else happened by then).
    std::function<void(const QString &)> onShown;

    MsgAnswer MsgBox(const QString &text, MsgButtons buttons = MsgButtons::OkOnly,
                     MsgIcon icon = MsgIcon::None) override;
    MsgAnswer MsgBoxDetailed(const QString &text, const QString &details,
                             MsgButtons buttons = MsgButtons::OkOnly,
                             MsgIcon icon = MsgIcon::None) override;
    void Beep() override { ++beeps; }

    // The texts shown so far, in order.
    QStringList texts() const;
    void clear();

protected:
    MsgAnswer ask(Question question, const QString &text, MsgButtons buttons,
                  MsgIcon icon) override;
};
