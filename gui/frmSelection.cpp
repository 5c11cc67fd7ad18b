#include "gui/frmSelection.h"

#include "base/ResText.h"
#include "gui/Twips.h"
#include "gui/UiFont.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

frmSelection::frmSelection(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmSelection"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFont(uiFont());

    lblSelectSetumei = new QLabel(this);
    lblSelectSetumei->setObjectName(QStringLiteral("lblSelectSetumei"));
    lblSelectSetumei->setWordWrap(true);
    lblSelectSetumei->setMinimumWidth(Twips::toPixels(5400));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblSelectSetumei);
    for (int i = 0; i < 2; ++i) {
        optSelectKomoku[i] = new QRadioButton(this);
        optSelectKomoku[i]->setObjectName(QStringLiteral("optSelectKomoku_%1").arg(i));
        layout->addWidget(optSelectKomoku[i]);
    }
    optSelectKomoku[0]->setChecked(true);

    // The dialog is not localised: its buttons keep the Japanese design texts in either language.
    const StringTable &table = StringTable::builtIn();
    cmdSelectOk = new QPushButton(table.item(432).value_or(QString()), this);
    cmdSelectOk->setObjectName(QStringLiteral("cmdSelectOk"));
    cmdSelectOk->setDefault(true);
    cmdSelectCancel = new QPushButton(table.item(433).value_or(QString()), this);
    cmdSelectCancel->setObjectName(QStringLiteral("cmdSelectCancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSelectOk);
    buttons->addWidget(cmdSelectCancel);
    layout->addLayout(buttons);

    connect(cmdSelectOk, &QPushButton::clicked, this, &frmSelection::onOk);
    connect(cmdSelectCancel, &QPushButton::clicked, this, &frmSelection::onCancel);
}

void frmSelection::onOk() {
    SelectedItemNo = optSelectKomoku[0]->isChecked() ? 0 : 1;
    accept();
}

void frmSelection::onCancel() {
    SelectedItemNo = -1;
    QDialog::reject();
}

// Escape and the close box end the dialog without changing SelectedItemNo, unless the dialog has
// no Cancel button, in which case only OK ends it.
void frmSelection::reject() {
    if (!SelectCancelBtnNasi)
        QDialog::reject();
}

void frmSelection::closeEvent(QCloseEvent *event) {
    if (SelectCancelBtnNasi)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

qint16 AskSelection(QWidget *mainWindow, const QString &caption, const QString &description,
                    const QString &first, const QString &second, qint16 noCancel) {
    frmSelection dlg(mainWindow);
    dlg.setWindowTitle(caption);
    dlg.lblSelectSetumei->setText(description);
    dlg.optSelectKomoku[0]->setText(first);
    dlg.optSelectKomoku[1]->setText(second);
    const bool withoutCancel = noCancel == 1;
    dlg.cmdSelectCancel->setEnabled(!withoutCancel);
    dlg.cmdSelectCancel->setVisible(!withoutCancel);
    dlg.SelectCancelBtnNasi = withoutCancel;
    dlg.adjustSize();
    Twips::placeBesideMain(&dlg, mainWindow);
    dlg.exec();
    return dlg.SelectedItemNo;
}
