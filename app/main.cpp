#include "app/StartRoutine.h"
#include "app/StoredSettings.h"
#include "app/frmMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(StoredSettings::AppName));
    QApplication::setOrganizationName(QString::fromLatin1(StoredSettings::AppName));

    StoredSettings settings;
    StartRoutine start(settings);
    auto mainWindow = start.run();
    return QApplication::exec();
}
