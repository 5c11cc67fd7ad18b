#pragma once

#include "gui/LocaliseForm.h"

#include <QLatin1String>
#include <QWidget>

// Creates a control owned by its parent and gives it its design name as objectName.
template <typename Control, typename... Args>
Control *named(const char *name, QWidget *parent, Args &&...args) {
    auto *control = new Control(std::forward<Args>(args)..., parent);
    control->setObjectName(QLatin1String(name));
    return control;
}

// The same, with the text id of its caption (tag) and of its tool tip (0: none).
template <typename Control>
Control *tagged(const char *name, QWidget *parent, int tagId, int toolTipId = 0) {
    auto *control = named<Control>(name, parent);
    setTagId(control, tagId);
    if (toolTipId != 0)
        setToolTipId(control, toolTipId);
    return control;
}
