// Where files are written and read on Windows.
#include "base/FileTarget.h"

#include "base/ResText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <windows.h>

bool FileTarget::namesDevice(const QString &path) {
    return isWindowsDeviceName(path);
}

bool FileTarget::putInPlace(QFile &file, const QString &old) {
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
}

bool FileTarget::openRegular(QFile &file, QString *why) {
    const QFileInfo info(file.fileName());
    if (!info.isFile()) {
        if (why)
            *why = info.exists() ? ResText(1645) : qt_error_string(ERROR_FILE_NOT_FOUND);
        return false;
    }
    if (file.open(QIODevice::ReadOnly))
        return true;
    if (why)
        *why = file.errorString();
    return false;
}
