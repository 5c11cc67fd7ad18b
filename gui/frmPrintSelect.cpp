#include "gui/frmPrintSelect.h"

#include "base/FileDialogs.h"
#include "base/MessageLines.h"
#include "base/ResText.h"
#include "base/UserPrompt.h"
#include "gui/LocaliseForm.h"
#include "gui/Twips.h"
#include "print/PrintSelection.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr int PlaceholderId = 445;

template <typename T> T *named(QWidget *owner, const char *name, int tagId) {
    auto *control = new T(owner);
    control->setObjectName(QLatin1String(name));
    setTagId(control, tagId);
    return control;
}

} // namespace

frmPrintSelect::frmPrintSelect(PrintSelection &selection, FileDialogs &dialogs, UserPrompt &prompt,
                               QWidget *mainWindow)
    : QDialog(mainWindow), m_selection(selection), m_dialogs(dialogs), m_prompt(prompt) {
    setObjectName(QStringLiteral("frmPrintSelect"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setTagId(this, 440);

    lblPrintSet = named<QLabel>(this, "lblPrintSet", 441);
    frmPrintPosi = named<QGroupBox>(this, "frmPrintPosi", 442);
    optPrintPosi[0] = named<QRadioButton>(frmPrintPosi, "optPrintPosi_0", 443);
    optPrintPosi[1] = named<QRadioButton>(frmPrintPosi, "optPrintPosi_1", 444);
    lblPrintPosiName = named<QLabel>(frmPrintPosi, "lblPrintPosiName", PlaceholderId);
    lblPrintPosiName->setMinimumWidth(Twips::toPixels(3600));
    lblPrintPosiName->setFrameShape(QFrame::StyledPanel);
    cmdSelectPosiFile = named<QPushButton>(frmPrintPosi, "cmdSelectPosiFile", 446);
    cmdPrintSet = named<QPushButton>(this, "cmdPrintSet", 432);
    cmdPrintSet->setDefault(true);
    cmdPrintCancel = named<QPushButton>(this, "cmdPrintCancel", 433);

    auto *frame = new QGridLayout(frmPrintPosi);
    frame->addWidget(optPrintPosi[0], 0, 0, 1, 2);
    frame->addWidget(optPrintPosi[1], 1, 0, 1, 2);
    frame->addWidget(lblPrintPosiName, 2, 0);
    frame->addWidget(cmdSelectPosiFile, 2, 1);
    frame->setColumnStretch(0, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdPrintSet);
    buttons->addWidget(cmdPrintCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblPrintSet);
    layout->addWidget(frmPrintPosi);
    layout->addLayout(buttons);

    // Load: the texts, the place beside the main window, a fresh cancel flag and file name.
    LocaliseForm(this);
    optPrintPosi[0]->setChecked(true);
    lblPrintPosiName->setEnabled(false);
    cmdSelectPosiFile->setEnabled(false);
    m_selection.PrintCancel = false;
    m_selection.PrintPosiFileName.clear();
    adjustSize();
    Twips::placeBesideMain(this, mainWindow);

    for (QRadioButton *option : optPrintPosi)
        connect(option, &QRadioButton::toggled, this, &frmPrintSelect::optPrintPosi_Click);
    connect(cmdSelectPosiFile, &QPushButton::clicked, this,
            &frmPrintSelect::cmdSelectPosiFile_Click);
    connect(cmdPrintSet, &QPushButton::clicked, this, &frmPrintSelect::cmdPrintSet_Click);
    connect(cmdPrintCancel, &QPushButton::clicked, this, &frmPrintSelect::reject);
}

void frmPrintSelect::optPrintPosi_Click() {
    const bool fileData = optPrintPosi[1]->isChecked();
    lblPrintPosiName->setEnabled(fileData);
    cmdSelectPosiFile->setEnabled(fileData);
}

void frmPrintSelect::cmdSelectPosiFile_Click() {
    // The shared file dialog keeps its title and extension from its last use.
    FileDialogs::Options options = m_dialogs.last();
    options.filter = ResText(236);
    options.overwritePrompt = false;
    const QString path = m_dialogs.ShowOpen(options);
    if (path.isEmpty())
        return;
    m_selection.PrintFileTitle = QFileInfo(path).fileName();
    lblPrintPosiName->setText(m_selection.PrintFileTitle);
    m_selection.PrintPosiFileName = path;
}

void frmPrintSelect::cmdPrintSet_Click() {
    m_selection.GridPosiPrint = false;
    m_selection.FilePosiPrint = false;
    if (optPrintPosi[0]->isChecked()) {
        m_selection.GridPosiPrint = true;
    } else {
        const QString shown = lblPrintPosiName->text();
        if (m_selection.PrintPosiFileName.isEmpty() || shown.isEmpty() ||
            shown == ResText(PlaceholderId)) {
            m_prompt.MsgBox(ResText(447) + CrLf + ResText(448));
            return;
        }
        m_selection.FilePosiPrint = true;
    }
    accept();
}

// Cancel, Escape and the close box: nothing is printed.
void frmPrintSelect::reject() {
    m_selection.PrintCancel = true;
    QDialog::reject();
}
