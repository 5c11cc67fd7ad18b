// The identity of a serial device on a POSIX system: its device number; held with flock, which,
// unlike the terminal's exclusive mode, holds against a second opener running as root too.
#include "link/PortIdentity.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

QString PortIdentity::ofDevice(const QString &path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISCHR(st.st_mode))
        return QStringLiteral("device %1:%2").arg(major(st.st_rdev)).arg(minor(st.st_rdev));
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

QString PortIdentity::openName(const QString &path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

bool PortIdentity::hold(qintptr handle) {
    // The lock belongs to this open of the device and goes with it when the line is closed.
    return ::flock(int(handle), LOCK_EX | LOCK_NB) == 0;
}
