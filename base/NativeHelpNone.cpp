// No help viewer of the system's own: the desktop's viewer or the HTML manual stands in.
#include "base/NativeHelp.h"

bool NativeHelp::systemHasOne() {
    return false;
}

bool NativeHelp::show(const QString &, quintptr) {
    return false;
}

void NativeHelp::closeAll() {}
