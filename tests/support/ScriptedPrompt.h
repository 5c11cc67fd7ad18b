#pragma once

#include "base/UserPrompt.h"

#include <QList>
#include <QString>

// Answers message boxes from a list and records every box shown.
class ScriptedPrompt : public UserPrompt {
public:
    struct Shown {
        QString text;
        MsgButtons buttons;
        MsgIcon icon;
        int id = 0;
        QString details; // the box's details on request, if it offered any
    };

    // Answers given in order; when the list runs out, each box is dismissed (dismissAnswer).
    QList<MsgAnswer> answers;
    QList<Shown> shown;
    int beeps = 0;

    MsgAnswer MsgBox(const QString &text, MsgButtons buttons = MsgButtons::OkOnly,
                     MsgIcon icon = MsgIcon::None, int id = 0) override;
    MsgAnswer MsgBoxDetailed(const QString &text, const QString &details,
                             MsgButtons buttons = MsgButtons::OkOnly, MsgIcon icon = MsgIcon::None,
                             int id = 0) override;
    void Beep() override { ++beeps; }

    // The texts shown so far, in order.
    QStringList texts() const;
    void clear();
};
