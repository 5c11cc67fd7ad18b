#include "gui/FieldBinding.h"

#include "data/FieldNumber.h"
#include "gui/UpDown.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

FieldFilter::Rule FieldBinding::rule() const {
    return {KeyRule{item.typing.digits}, item.typing.low, item.typing.high, enterTarget};
}

QString FieldBinding::text() const {
    if (const auto *list = qobject_cast<const QComboBox *>(field))
        return list->currentText();
    if (const auto *steps = qobject_cast<const UpDown *>(field))
        return steps->buddy()->text();
    return static_cast<const QLineEdit *>(field)->text();
}

void FieldBinding::show(const QString &text) const {
    if (auto *list = qobject_cast<QComboBox *>(field))
        list->setEditText(text);
    else if (const auto *steps = qobject_cast<const UpDown *>(field))
        steps->buddy()->setText(text);
    else
        static_cast<QLineEdit *>(field)->setText(text);
}

void FieldBinding::clear() const {
    if (auto *edit = qobject_cast<QLineEdit *>(field))
        edit->clear();
    else
        show(QStringLiteral("1"));
}

bool FieldBinding::takeInto(QvData &data) const {
    const QString t = text();
    const std::optional<qint32> value =
        item.shortField ? std::optional<qint32>(FieldNumber::take16(t)) : FieldNumber::take32(t);
    if (value)
        item.set(data, *value);
    return value.has_value();
}

void FieldBinding::onChange(QObject *context, const std::function<void()> &changed) const {
    if (auto *list = qobject_cast<QComboBox *>(field)) {
        QObject::connect(list->lineEdit(), &QLineEdit::textEdited, context, changed);
        QObject::connect(list, &QComboBox::activated, context, changed);
    } else if (auto *steps = qobject_cast<UpDown *>(field)) {
        QObject::connect(steps, &UpDown::stepped, context, changed);
    } else {
        QObject::connect(static_cast<QLineEdit *>(field), &QLineEdit::textChanged, context,
                         changed);
    }
}
