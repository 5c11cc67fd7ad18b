#include "gui/frmSplash.h"

#include "base/PlatformTexts.h"
#include "base/ProgramVersion.h"
#include "base/ResText.h"
#include "gui/FormBuild.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QVBoxLayout>

frmSplash::frmSplash(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmSplash"));
    fraMainFrame = named<QFrame>("fraMainFrame", this);
    fraMainFrame->setFrameShape(QFrame::Box);
    fraMainFrame->setLineWidth(2);

    picLogo = named<QLabel>("picLogo", fraMainFrame);
    picLogo->setPixmap(QPixmap(QStringLiteral(":/images/qvpc-128.png")));
    lblProductName = named<QLabel>("lblProductName", fraMainFrame);
    QFont big = lblProductName->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    lblProductName->setFont(big);
    lblVersion = named<QLabel>("lblVersion", fraMainFrame);
    lblFight = named<QLabel>("lblFight", fraMainFrame);
    lblCompany = named<QLabel>("lblCompany", fraMainFrame);
    lblCopyright = named<QLabel>("lblCopyright", fraMainFrame);
    lblWarning = named<QLabel>("lblWarning", fraMainFrame);
    lblWarning->setWordWrap(true);

    // Fixed texts: the splash is the same in both languages.
    lblFight->setText(ResText(PlatformTexts::splashLineId()));
    lblCompany->setText(ResText(1541));
    lblCopyright->setText(ResText(1542));
    lblWarning->setText(QStringLiteral("Warning：") + ResText(1543));

    auto *grid = new QGridLayout(fraMainFrame);
    grid->setContentsMargins(18, 18, 18, 18);
    grid->setHorizontalSpacing(18);
    grid->addWidget(picLogo, 0, 0, 4, 1, Qt::AlignTop);
    grid->addWidget(lblProductName, 0, 1);
    grid->addWidget(lblVersion, 1, 1);
    grid->addWidget(lblFight, 2, 1);
    grid->addWidget(lblCompany, 4, 0, 1, 2);
    grid->addWidget(lblCopyright, 5, 0, 1, 2);
    grid->addWidget(lblWarning, 6, 0, 1, 2);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(fraMainFrame);

    // Load: the version and the product name.
    lblVersion->setText(ProgramVersion::text());
    lblProductName->setText(QStringLiteral("QV PC-Software"));

    // In the middle of the screen, whatever the window manager would do.
    adjustSize();
    if (const QScreen *shownOn = screen())
        move(shownOn->availableGeometry().center() - rect().center());

    timerSplash.setObjectName(QStringLiteral("timerSplash"));
    timerSplash.setInterval(SplashMs);
    timerSplash.setSingleShot(false);
    connect(&timerSplash, &QTimer::timeout, this, &frmSplash::onTimer);
}

void frmSplash::onTimer() {
    SplashDone = true;
    timerSplash.stop();
}
