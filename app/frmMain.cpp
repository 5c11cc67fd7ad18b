#include "app/frmMain.h"

#include "app/StoredSettings.h"
#include "app/Twips.h"

frmMain::frmMain(StoredSettings &settings, QWidget *parent)
    : QMainWindow(parent), m_settings(settings)
{
    setObjectName(QStringLiteral("frmMain"));
    m_settings.ReadLanguage();
    m_settings.ReadPortNo();
    setWindowTitle(titleText());
    resize(Twips::toPixels(9000), Twips::toPixels(6585));
}

QString frmMain::titleText()
{
    return QStringLiteral("QV PC-Software Ver%1.%2%3")
        .arg(QVPC_VERSION_MAJOR)
        .arg(QVPC_VERSION_MINOR)
        .arg(QVPC_VERSION_PATCH);
}

void frmMain::OnlineDataRead() {}
