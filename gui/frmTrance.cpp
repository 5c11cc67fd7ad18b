#include "gui/frmTrance.h"

#include "gui/UiFont.h"

#include "gui/LocaliseForm.h"
#include "gui/Twips.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

frmTrance::frmTrance(QWidget *mainWindow) : QDialog(mainWindow), m_mainWindow(mainWindow) {
    setObjectName(QStringLiteral("frmTrance"));
    setModal(false);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    lblSetumei = new QLabel(this);
    lblSetumei->setObjectName(QStringLiteral("lblSetumei"));
    setFont(uiFont());
    prgBar1 = new QProgressBar(this);
    prgBar1->setObjectName(QStringLiteral("prgBar1"));
    prgBar1->setTextVisible(false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblSetumei);
    layout->addWidget(prgBar1);
    setFixedSize(Twips::toPixels(5400), Twips::toPixels(1500));
}

void frmTrance::load() {
    // The design: caption and label carry their text ids until the texts replace them.
    setWindowTitle(QStringLiteral("frmTrance"));
    setTagId(this, 449);
    setTagId(lblSetumei, 450);
    prgBar1->setRange(0, 100);
    prgBar1->setValue(0);
    LocaliseForm(this);
    Twips::placeBesideMain(this, m_mainWindow);
    m_loaded = true;
}

void frmTrance::show() {
    if (!m_loaded)
        load();
    QDialog::show();
}

void frmTrance::unload() {
    m_unloading = true;
    QDialog::close();
    m_unloading = false;
    m_loaded = false;
}

void frmTrance::setLabel(const QString &text) {
    if (!m_loaded)
        load();
    lblSetumei->setText(text);
}

void frmTrance::setMaximum(int maximum) {
    if (!m_loaded)
        load();
    prgBar1->setMaximum(maximum);
}

void frmTrance::setValue(int value) {
    if (!m_loaded)
        load();
    prgBar1->setValue(value);
}

void frmTrance::closeEvent(QCloseEvent *event) {
    if (m_unloading)
        QDialog::closeEvent(event);
    else
        event->ignore();
}

// Escape would close a dialog; this one stays.
void frmTrance::reject() {
    if (m_unloading)
        QDialog::reject();
}
