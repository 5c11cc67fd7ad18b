#include "gui/FieldFilter.h"

#include "base/UserPrompt.h"
#include "data/FieldNumber.h"

#include <QClipboard>
#include <QComboBox>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>

namespace {

// Keys that select, move, copy, cut or undo within a field's text: they type nothing and are
// left to the field, as in any other text field.
bool isEditingKey(const QKeyEvent *event) {
    using K = QKeySequence::StandardKey;
    static constexpr K Keys[] = {K::SelectAll, K::Copy, K::Cut, K::Undo, K::Redo};
    for (K key : Keys) {
        if (event->matches(key))
            return true;
    }
    switch (event->key()) {
    case Qt::Key_Control: // a modifier pressed on its own types nothing yet
    case Qt::Key_Shift:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
    case Qt::Key_AltGr:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        return true;
    default:
        return false;
    }
}

// The character code a key would type, or -1 for keys that type nothing (arrows, Delete, the
// editing keys ...), which the filter leaves alone.
int characterCode(const QKeyEvent *event) {
    if (isEditingKey(event))
        return -1;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return KeyCode::Enter;
    case Qt::Key_Backspace:
        return KeyCode::Backspace;
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return -1;
    default:
        break;
    }
    if (event->modifiers() & Qt::ControlModifier) {
        if (event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z)
            return event->key() - Qt::Key_A + 1; // Ctrl+letter types a control character
        return 0;
    }
    const QString text = event->text();
    return text.isEmpty() ? -1 : text.at(0).unicode();
}

QLineEdit *editOf(QWidget *field) {
    if (auto *combo = qobject_cast<QComboBox *>(field))
        return combo->lineEdit();
    return qobject_cast<QLineEdit *>(field);
}

} // namespace

FieldFilter::FieldFilter(UserPrompt &prompt, QObject *parent) : QObject(parent), m_prompt(prompt) {}

void FieldFilter::attach(QWidget *field, const Rule &rule) {
    m_rules.insert(field, rule);
    field->installEventFilter(this);
    // Only what the keys let through may reach the field: no pasting from the context menu, no
    // dropping, no input method composing other characters.
    QLineEdit *edit = editOf(field);
    for (QWidget *w : {field, static_cast<QWidget *>(edit)}) {
        w->setContextMenuPolicy(Qt::NoContextMenu);
        w->setAcceptDrops(false);
        w->setAttribute(Qt::WA_InputMethodEnabled, false);
    }
    if (edit != field) {
        edit->installEventFilter(this);
        // A list takes the keyboard by a click or Tab, not by the wheel passing over it.
        field->setFocusPolicy(Qt::StrongFocus);
    }
    m_rules.insert(edit, rule);
}

bool FieldFilter::eventFilter(QObject *watched, QEvent *event) {
    auto it = m_rules.constFind(watched);
    if (it == m_rules.constEnd())
        return false;
    // An editable list and its line edit share one rule; the list is the field.
    QWidget *field = static_cast<QWidget *>(watched);
    if (auto *combo = qobject_cast<QComboBox *>(field->parentWidget());
        combo && m_rules.contains(combo))
        field = combo;
    if (event->type() == QEvent::KeyPress)
        return onKey(field, *it, static_cast<QKeyEvent *>(event));
    // The wheel turned over a field the user is not in (a list merely passed over) changes
    // nothing; the event goes on to the window.
    if (event->type() == QEvent::Wheel && !field->hasFocus() && !editOf(field)->hasFocus()) {
        event->ignore();
        return true;
    }
    if (event->type() == QEvent::FocusOut && field == watched) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        // Opening a list's drop-down or switching to another window does not leave the field.
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            onFocusLost(field, *it);
    }
    return false;
}

bool FieldFilter::onKey(QWidget *field, const Rule &rule, QKeyEvent *event) {
    // Every paste key (Shift+Insert too) inserts the clipboard as if typed.
    if (event->matches(QKeySequence::Paste)) {
        paste(field, rule);
        return true;
    }
    const int code = characterCode(event);
    if (code < 0)
        return false;
    const QLineEdit *edit = editOf(field);
    switch (judgeKey(code, int(edit->text().size()), edit->hasSelectedText(), rule.keys)) {
    case KeyVerdict::Pass:
        return false;
    case KeyVerdict::Drop:
        emit refused(field);
        return true;
    case KeyVerdict::MoveOn:
        if (QWidget *target = rule.enterTarget ? rule.enterTarget() : nullptr)
            target->setFocus(Qt::OtherFocusReason);
        return true;
    }
    return true;
}

void FieldFilter::paste(QWidget *field, const Rule &rule) {
    QLineEdit *edit = editOf(field);
    bool refusedSome = false;
    const QString text = QGuiApplication::clipboard()->text();
    for (const QChar c : text) {
        if (judgeKey(c.unicode(), int(edit->text().size()), edit->hasSelectedText(), rule.keys) ==
            KeyVerdict::Pass)
            edit->insert(QString(c));
        else
            refusedSome = true;
    }
    if (refusedSome)
        emit refused(field);
}

void FieldFilter::onFocusLost(QWidget *field, const Rule &rule) {
    QLineEdit *edit = editOf(field);
    if (!FieldNumber::refusedOnFocusLoss(edit->text(), rule.low, rule.high))
        return;
    if (auto *combo = qobject_cast<QComboBox *>(field))
        combo->setEditText(QString());
    else
        edit->clear();
    emit emptied(field);
    m_prompt.Beep();
    // Back into the field once the focus change under way has ended.
    QMetaObject::invokeMethod(
        field,
        [f = QPointer<QWidget>(field)] {
            if (f)
                f->setFocus(Qt::OtherFocusReason);
        },
        Qt::QueuedConnection);
}
