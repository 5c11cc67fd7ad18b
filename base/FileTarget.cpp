#include "base/FileTarget.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cstdio>
#endif

namespace {

#ifdef Q_OS_WIN
constexpr bool DeviceNamesAreDevices = true;
#else
constexpr bool DeviceNamesAreDevices = false;
#endif

} // namespace

bool FileTarget::isWindowsDeviceName(const QString &path) {
    // The name up to its first dot or colon, without the blanks Windows drops at its end.
    static const QRegularExpression device(
        QStringLiteral("^(CON|PRN|AUX|NUL|(COM|LPT)[0-9\u00b9\u00b2\u00b3]) *([.:].*)?$"),
        QRegularExpression::CaseInsensitiveOption);
    const QString name = path.section(QRegularExpression(QStringLiteral("[/\\\\]")), -1);
    return device.match(name).hasMatch();
}

bool FileTarget::isWritableAsFile(const QString &path) {
    if (DeviceNamesAreDevices && isWindowsDeviceName(path))
        return false;
    const QFileInfo target(path);
    return !target.exists() || target.isFile();
}

bool FileTarget::putInPlace(QFile &file, const QString &old) {
#ifdef Q_OS_WIN
    // Windows moves no file that is open: it is closed, moved over the old one and opened again
    // at its end.
    const QString made = file.fileName();
    file.close();
    const auto native = [](const QString &path) {
        return QDir::toNativeSeparators(path).toStdWString();
    };
    if (!MoveFileExW(native(made).c_str(), native(old).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return false;
    file.setFileName(old);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return true;
    file.setFileName(made);
    return false;
#else
    // rename() keeps the open file: the writes go on into it under the old file's name.
    if (std::rename(QFile::encodeName(file.fileName()).constData(),
                    QFile::encodeName(old).constData()) == 0)
        return true;
    file.close();
    return false;
#endif
}
