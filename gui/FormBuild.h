#pragma once

#include <QLatin1String>
#include <QWidget>

// Creates a control owned by its parent and gives it its design name as objectName.
template <typename Control, typename... Args>
Control *named(const char *name, QWidget *parent, Args &&...args) {
    auto *control = new Control(std::forward<Args>(args)..., parent);
    control->setObjectName(QLatin1String(name));
    return control;
}
