#include "gui/frmCommLog.h"

#include "base/FileDialogs.h"
#include "base/ResText.h"
#include "base/UserPrompt.h"
#include "gui/FormBuild.h"
#include "gui/Twips.h"
#include "link/CommLog.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

frmCommLog::frmCommLog(CommLog &log, FileDialogs &dialogs, UserPrompt &prompt, QWidget *mainWindow)
    : QDialog(mainWindow), m_log(log), m_dialogs(dialogs), m_prompt(prompt),
      m_mainWindow(mainWindow) {
    setObjectName(QStringLiteral("frmCommLog"));
    setModal(false);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowTitle(ResText(1701));

    txtLog = named<QPlainTextEdit>("txtLog", this);
    txtLog->setReadOnly(true);
    txtLog->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtLog->setMaximumBlockCount(CommLog::Capacity);
    txtLog->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    cmdSave = named<QPushButton>("cmdSave", this, ResText(1702));
    cmdClear = named<QPushButton>("cmdClear", this, ResText(1703));
    cmdClose = named<QPushButton>("cmdClose", this, ResText(1704));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdClear);
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(txtLog);
    layout->addLayout(buttons);
    resize(Twips::toPixels(9000), Twips::toPixels(5000));

    connect(cmdSave, &QPushButton::clicked, this, &frmCommLog::save);
    connect(cmdClear, &QPushButton::clicked, this, [this] { m_log.clear(); });
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
    connect(&m_log, &CommLog::cleared, txtLog, &QPlainTextEdit::clear);
}

void frmCommLog::showEvent(QShowEvent *event) {
    // The text is built from the log when the window opens and then follows it line by line.
    if (!m_follow) {
        if (!m_placed)
            Twips::placeBesideMain(this, m_mainWindow);
        m_placed = true;
        txtLog->setPlainText(m_log.lines().join(u'\n'));
        m_follow = connect(&m_log, &CommLog::lineAdded, this, &frmCommLog::append);
        txtLog->verticalScrollBar()->setValue(txtLog->verticalScrollBar()->maximum());
    }
    QDialog::showEvent(event);
}

void frmCommLog::hideEvent(QHideEvent *event) {
    disconnect(m_follow);
    m_follow = {};
    txtLog->clear();
    QDialog::hideEvent(event);
}

void frmCommLog::append(const QString &line) {
    QScrollBar *bar = txtLog->verticalScrollBar();
    // Keep following the newest line unless the user scrolled up to read.
    const bool atEnd = bar->value() == bar->maximum();
    txtLog->appendPlainText(line);
    if (atEnd)
        bar->setValue(bar->maximum());
}

void frmCommLog::save() {
    const QString path = m_dialogs.ShowSave(
        FileDialogs::Options::forSaving(ResText(1716), ResText(1717), QStringLiteral("txt")));
    if (path.isEmpty())
        return;
    if (!m_log.saveTo(path))
        m_prompt.MsgBox(ResText(1718).arg(path), MsgButtons::OkOnly, MsgIcon::Exclamation);
}
