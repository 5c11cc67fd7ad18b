#include "gui/frmAbout.h"

#include "base/ProgramVersion.h"
#include "base/UserPrompt.h"
#include "gui/FormBuild.h"
#include "gui/LocaliseForm.h"
#include "gui/Twips.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

frmAbout::frmAbout(UserPrompt &prompt, std::function<bool(QWidget *)> showSysInfo, QWidget *parent)
    : QDialog(parent), m_prompt(prompt), m_showSysInfo(std::move(showSysInfo)) {
    setObjectName(QStringLiteral("frmAbout"));
    setTagId(this, 401);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    picIcon = named<QLabel>("picIcon", this);
    picIcon->setPixmap(QPixmap(QStringLiteral(":/images/qvpc-48.png")));
    lblTitle = named<QLabel>("lblTitle", this);
    QFont bold = lblTitle->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 3);
    lblTitle->setFont(bold);
    lblVersion = named<QLabel>("lblVersion", this);
    lblDescription = tagged<QLabel>("lblDescription", this, 404);
    lblDescription->setWordWrap(true);
    lblDisclaimer = tagged<QLabel>("lblDisclaimer", this, 405);
    lblDisclaimer->setWordWrap(true);
    lblDisclaimer->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cmdOK = named<QPushButton>("cmdOK", this, QStringLiteral("OK"));
    cmdOK->setDefault(true);
    cmdSysInfo = tagged<QPushButton>("cmdSysInfo", this, 403);

    auto *grid = new QGridLayout(this);
    grid->setHorizontalSpacing(16);
    grid->addWidget(picIcon, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(lblTitle, 0, 1);
    grid->addWidget(lblVersion, 1, 1);
    grid->addWidget(lblDescription, 2, 1);
    grid->addWidget(lblDisclaimer, 3, 0, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    grid->addLayout(buttons, 4, 0, 1, 2);
    lblDescription->setMinimumWidth(Twips::toPixels(5400));

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::StartSysInfo);

    // Load.
    LocaliseForm(this);
    lblVersion->setText(ProgramVersion::text());
    lblTitle->setText(QStringLiteral("QV PC-Software"));
}

void frmAbout::StartSysInfo() {
    if (m_showSysInfo && m_showSysInfo(this))
        return;
    m_prompt.MsgBox(QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません"));
}
