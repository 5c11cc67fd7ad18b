#pragma once

#include "data/KeyRule.h"

#include <QHash>
#include <QObject>
#include <functional>

class QKeyEvent;
class QWidget;
class UserPrompt;

// The key filter and the focus-loss check of the typed editing fields (line edits and editable
// lists): only digits up to the field's limit, Enter moves on to the field's Enter target, and a
// value outside the field's range is removed with a beep when the field is left. The editing
// keys (select all, copy, cut, undo, Home, End, the arrows) work as in any field; a paste
// inserts what the keys would let through, character by character.
class FieldFilter : public QObject {
    Q_OBJECT
public:
    struct Rule {
        KeyRule keys;
        int low = 0;
        int high = 0;
        std::function<QWidget *()> enterTarget;
    };

    FieldFilter(UserPrompt &prompt, QObject *parent = nullptr);

    void attach(QWidget *field, const Rule &rule);

signals:
    // A field has been emptied because its value was out of range.
    void emptied(QWidget *field);
    // A typed or pasted character was not taken (not a digit, or one digit too many).
    void refused(QWidget *field);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool onKey(QWidget *field, const Rule &rule, QKeyEvent *event);
    void paste(QWidget *field, const Rule &rule);
    void onFocusLost(QWidget *field, const Rule &rule);

    UserPrompt &m_prompt;
    QHash<QObject *, Rule> m_rules;
};
