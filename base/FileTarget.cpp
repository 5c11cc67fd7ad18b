#include "base/FileTarget.h"

#include <QFileInfo>
#include <QRegularExpression>

bool FileTarget::isWindowsDeviceName(const QString &path) {
    // The name up to its first dot or colon, without the blanks Windows drops at its end.
    static const QRegularExpression device(
        QStringLiteral("^(CON|PRN|AUX|NUL|(COM|LPT)[0-9\u00b9\u00b2\u00b3]) *([.:].*)?$"),
        QRegularExpression::CaseInsensitiveOption);
    const QString name = path.section(QRegularExpression(QStringLiteral("[/\\\\]")), -1);
    return device.match(name).hasMatch();
}

bool FileTarget::isWritableAsFile(const QString &path) {
    if (namesDevice(path))
        return false;
    const QFileInfo target(path);
    return !target.exists() || target.isFile();
}
