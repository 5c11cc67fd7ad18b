#pragma once

#include "base/ProgressView.h"

#include <QDialog>

class QLabel;
class QProgressBar;

// The communication-in-progress window: a label and a progress bar shown while the controller's
// data are read or written. It cannot be closed by the user; the program unloads it.
class frmTrance : public QDialog, public ProgressView {
    Q_OBJECT
public:
    // mainWindow: the window it places itself beside when it loads.
    explicit frmTrance(QWidget *mainWindow = nullptr);

    // Loads the window (captions in the current language, placed beside the main window) unless
    // it is loaded, and shows it modeless.
    void show() override;
    void unload() override;
    void setLabel(const QString &text) override;
    void setMaximum(int maximum) override;
    void setValue(int value) override;

    QLabel *lblSetumei = nullptr;
    QProgressBar *prgBar1 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void load();

    QWidget *m_mainWindow = nullptr;
    bool m_loaded = false;
    bool m_unloading = false;
};
