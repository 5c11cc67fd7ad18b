#pragma once

#include <QString>

// The program's three-part version (major, minor, revision), as the splash, the about box, the
// system information and --version show it.
namespace ProgramVersion {

// "1.4.0"
inline QString number() {
    return QStringLiteral("%1.%2.%3")
        .arg(QVPC_VERSION_MAJOR)
        .arg(QVPC_VERSION_MINOR)
        .arg(QVPC_VERSION_PATCH);
}

// "Version 1.4.0"
inline QString text() {
    return QStringLiteral("Version ") + number();
}

} // namespace ProgramVersion
