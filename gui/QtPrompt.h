#pragma once

#include "base/UserPrompt.h"

#include <QPointer>
#include <QWidget>

// Message boxes on screen, owned by the given parent window (or none).
class QtPrompt : public UserPrompt {
public:
    explicit QtPrompt(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    MsgAnswer MsgBox(const QString &text, MsgButtons buttons = MsgButtons::OkOnly,
                     MsgIcon icon = MsgIcon::None) override;
    MsgAnswer MsgBoxDetailed(const QString &text, const QString &details,
                             MsgButtons buttons = MsgButtons::OkOnly,
                             MsgIcon icon = MsgIcon::None) override;
    void Beep() override;

private:
    QPointer<QWidget> m_parent;
};
