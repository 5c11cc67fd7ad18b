#pragma once

#include "base/FileDialogs.h"

class QWidget;

// The file dialogs of the main window, shown as Qt file dialogs over the given parent. With no
// initial folder a dialog opens where the last chosen file was.
class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget *parent) : m_parent(parent) {}

protected:
    QString chooseOpen(const Options &options) override;
    QString chooseSave(const Options &options) override;

private:
    QString run(const Options &options, bool save);

    QWidget *m_parent;
    QString m_lastFolder;
};
