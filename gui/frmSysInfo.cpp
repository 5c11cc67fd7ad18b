#include "gui/frmSysInfo.h"

#include "gui/FormBuild.h"
#include "gui/LocaliseForm.h"
#include "gui/Twips.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmSysInfo::frmSysInfo(const QString &report, QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmSysInfo"));
    setTagId(this, 1550);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    txtSysInfo = named<QPlainTextEdit>("txtSysInfo", this);
    txtSysInfo->setReadOnly(true);
    txtSysInfo->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtSysInfo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    txtSysInfo->setPlainText(report);
    cmdCopy = tagged<QPushButton>("cmdCopy", this, 1551);
    cmdClose = tagged<QPushButton>("cmdClose", this, 421);
    cmdClose->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdCopy);
    buttons->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(txtSysInfo);
    layout->addLayout(buttons);
    resize(Twips::toPixels(11000), Twips::toPixels(6000));

    connect(cmdCopy, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(txtSysInfo->toPlainText()); });
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    LocaliseForm(this);
}
