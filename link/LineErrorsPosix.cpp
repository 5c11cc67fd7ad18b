#include "link/LineErrors.h"

QString lineErrorsSinceCommand(const SerialLine &) {
    return {};
}
