// Whether a key file is kept private, on Windows.
#include "link/TlsSettings.h"

// A file in the user's profile is the user's own by its folder's access list; the file's own
// list is not read here.
bool TlsSettings::keyReadableByOthers(const QString &) {
    return false;
}
