#include "base/SystemInfoProgram.h"

#include <QFileInfo>
#include <QProcess>
#include <QSettings>

bool SystemInfoProgram::systemHasOne() {
    return true;
}

QString SystemInfoProgram::path() {
    const QSettings msinfo(
        QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
        QSettings::NativeFormat);
    const QString named = msinfo.value(QStringLiteral("PATH")).toString();
    if (!named.isEmpty())
        return named;
    const QSettings location(
        QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools Location"),
        QSettings::NativeFormat);
    const QString folder = location.value(QStringLiteral("MSINFO")).toString();
    if (folder.isEmpty())
        return {};
    const QString program = folder + QStringLiteral("\\MSINFO32.EXE");
    return QFileInfo(program).isFile() ? program : QString();
}

bool SystemInfoProgram::start() {
    const QString program = path();
    return !program.isEmpty() && QProcess::startDetached(program, {});
}
