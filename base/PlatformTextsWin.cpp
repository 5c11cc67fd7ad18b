#include "base/PlatformTexts.h"

int PlatformTexts::splashLineId() {
    return 1622;
}

// A COM port of the system goes by its name.
QString PlatformTexts::portEntryForms() {
    return QStringLiteral("rfc2217://HOST:PORT, tcp://HOST:PORT, COM3");
}
