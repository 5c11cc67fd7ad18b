#pragma once

#include "data/QvItems.h"
#include "gui/FieldFilter.h"

#include <functional>

class QWidget;

// One of the main window's editing fields and the QV item it shows. The field is an editable VEL
// list, the up-down control of an ACC or DEC value (its label shows the value) or a line edit.
struct FieldBinding {
    const QvItem &item;
    QWidget *field;
    // The field Enter moves on to, for a field the user types into (its item's digits and field
    // range say what it takes). A field not typed into takes any key and is not checked when left.
    std::function<QWidget *()> enterTarget = {};

    bool typed() const { return item.typing.digits > 0; }
    // The key filter's rule for the field; only for a typed field.
    FieldFilter::Rule rule() const;
    QString text() const;
    void show(const QString &text) const;
    // What a new data set starts with: 1 in a VEL list or an ACC or DEC value, a line edit empty.
    void clear() const;
    // The field's value into its item of `data`; false, `data` untouched, when it does not fit.
    bool takeInto(QvData &data) const;
    // `changed` runs on each change of a line edit's text, on typing into a VEL list or a value
    // picked from it, and on a step of an up-down control.
    void onChange(QObject *context, const std::function<void()> &changed) const;
};
