#include "base/PlatformTexts.h"

int PlatformTexts::splashLineId() {
    return 1540;
}

QString PlatformTexts::portEntryForms() {
    return QStringLiteral("rfc2217://HOST:PORT, tcp://HOST:PORT, /dev/...");
}
