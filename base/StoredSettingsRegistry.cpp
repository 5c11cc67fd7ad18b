// Where the settings are kept on Windows: the registry key of the application-settings functions
// (application QVPC-Software), so that settings stored there before carry over. Values are text.
#include "base/StoredSettings.h"

#include <windows.h>

namespace {

QString registryKey() {
    return QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\") +
           QLatin1String(StoredSettings::AppName);
}

} // namespace

QString StoredSettings::filePath() {
    return registryKey();
}

bool StoredSettings::fileUsable() {
    return true;
}

QSettings StoredSettings::store() {
    return QSettings(registryKey(), QSettings::NativeFormat);
}

// Windows sets no LANG: the user's display language decides.
bool StoredSettings::localeIsJapanese() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE;
}
