#include "base/FileTarget.h"

#include <QFileInfo>
#include <QRegularExpression>

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
