// Whether a key file is kept private, on POSIX systems: its mode bits.
#include "link/TlsSettings.h"

#include "base/ResText.h"

#include <QFile>

#include <sys/stat.h>

QString TlsSettings::keyExposure(const QString &keyFile) {
    struct stat st {};
    if (::stat(QFile::encodeName(keyFile).constData(), &st) != 0)
        return {};
    return (st.st_mode & (S_IRGRP | S_IROTH)) != 0 ? ResText(1667).arg(keyFile) : QString();
}
