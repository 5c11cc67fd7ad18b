#include "gui/LocaliseForm.h"

#include "base/ResText.h"
#include "base/VbNumber.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <functional>
#include <optional>

namespace {

// Ids already applied are remembered, so that a second run finds the same ids even where the
// design text has been replaced by a text that happens to start with a digit.
constexpr const char *TipIdProperty = "qvToolTipId";
constexpr const char *TextIdProperty = "qvTextId";

std::optional<int> strictId(const QString &text) {
    if (auto v = VbNumber::toInt16(text))
        return *v;
    return std::nullopt;
}

int lenientId(const QString &text) {
    return static_cast<int>(VbNumber::leadingValue(text));
}

QString tagOf(const QObject *o) {
    return o->property("tag").toString();
}

template <typename Apply>
void applyText(QObject *owner, const char *idProperty, int id, Apply apply) {
    if (auto text = ResTextIfAny(id)) {
        owner->setProperty(idProperty, id);
        apply(*text);
    }
}

std::optional<int> rememberedId(const QObject *o, const char *idProperty) {
    const QVariant v = o->property(idProperty);
    if (v.isValid())
        return v.toInt();
    return std::nullopt;
}

// Tool tip rule shared by labels and controls: a tool tip that reads as a number above 0.
void localiseToolTip(QWidget *w) {
    std::optional<int> id = rememberedId(w, TipIdProperty);
    if (!id) {
        const QString tip = w->toolTip();
        if (tip.isEmpty() || lenientId(tip) <= 0)
            return;
        id = lenientId(tip);
    }
    applyText(w, TipIdProperty, *id, [w](const QString &t) { w->setToolTip(t); });
}

bool setCaption(QWidget *w, const QString &text) {
    if (auto *b = qobject_cast<QAbstractButton *>(w))
        b->setText(text);
    else if (auto *g = qobject_cast<QGroupBox *>(w))
        g->setTitle(text);
    else if (auto *l = qobject_cast<QLabel *>(w))
        l->setText(text);
    else
        return false;
    return true;
}

void localiseLabel(QLabel *label) {
    if (auto id = strictId(tagOf(label)))
        applyText(label, TextIdProperty, *id, [label](const QString &t) { label->setText(t); });
    localiseToolTip(label);
}

void localiseControl(QWidget *w) {
    const int id = lenientId(tagOf(w));
    if (id > 0)
        applyText(w, TextIdProperty, id, [w](const QString &t) { setCaption(w, t); });
    localiseToolTip(w);
}

void localiseToolBar(QToolBar *bar) {
    for (QAction *a : bar->actions()) {
        std::optional<int> id = rememberedId(a, TipIdProperty);
        if (!id && !a->toolTip().isEmpty())
            id = strictId(a->toolTip());
        if (id)
            applyText(a, TipIdProperty, *id, [a](const QString &t) { a->setToolTip(t); });
    }
}

void localiseHeaderItem(const QVariant &tag, const std::function<void(const QString &)> &apply) {
    if (auto id = strictId(tag.toString()))
        if (auto text = ResTextIfAny(*id))
            apply(*text);
}

void localiseList(QWidget *w) {
    if (auto *tree = qobject_cast<QTreeWidget *>(w)) {
        QTreeWidgetItem *header = tree->headerItem();
        for (int c = 0; header && c < header->columnCount(); ++c)
            localiseHeaderItem(header->data(c, Qt::UserRole),
                               [header, c](const QString &t) { header->setText(c, t); });
    } else if (auto *table = qobject_cast<QTableWidget *>(w)) {
        for (int c = 0; c < table->columnCount(); ++c) {
            QTableWidgetItem *item = table->horizontalHeaderItem(c);
            if (item)
                localiseHeaderItem(item->data(Qt::UserRole),
                                   [item](const QString &t) { item->setText(t); });
        }
    }
}

bool isMenuEntry(const QAction *a) {
    for (QObject *o : a->associatedObjects())
        if (qobject_cast<QMenu *>(o) || qobject_cast<QMenuBar *>(o))
            return true;
    return false;
}

void localiseMenuEntry(QAction *a) {
    std::optional<int> id = rememberedId(a, TextIdProperty);
    if (!id)
        id = strictId(a->text());
    if (id)
        applyText(a, TextIdProperty, *id, [a](const QString &t) { a->setText(t); });
}

} // namespace

void LocaliseForm(QWidget *window) {
    if (!window)
        return;
    const QString windowTag = tagOf(window);
    if (!windowTag.isEmpty())
        if (auto id = strictId(windowTag))
            if (auto text = ResTextIfAny(*id))
                window->setWindowTitle(*text);

    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (qobject_cast<QMenu *>(w) || qobject_cast<QMenuBar *>(w))
            continue; // menus are localised through their entries below
        if (auto *label = qobject_cast<QLabel *>(w))
            localiseLabel(label);
        else if (auto *bar = qobject_cast<QToolBar *>(w))
            localiseToolBar(bar);
        else if (qobject_cast<QTreeWidget *>(w) || qobject_cast<QTableWidget *>(w)) {
            localiseList(w);
            localiseToolTip(w);
        } else
            localiseControl(w);
    }
    for (QAction *a : window->findChildren<QAction *>())
        if (isMenuEntry(a))
            localiseMenuEntry(a);
}

void setTagId(QObject *control, int id) {
    control->setProperty("tag", QString::number(id));
}

void setToolTipId(QWidget *control, int id) {
    control->setToolTip(QString::number(id));
}

void setMenuId(QAction *entry, int id) {
    entry->setText(QString::number(id));
}
