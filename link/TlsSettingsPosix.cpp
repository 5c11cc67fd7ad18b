// Whether a key file is kept private, on POSIX systems: its mode bits.
#include "link/TlsSettings.h"

#include <QFile>

#include <sys/stat.h>

bool TlsSettings::keyReadableByOthers(const QString &keyFile) {
    struct stat st {};
    if (::stat(QFile::encodeName(keyFile).constData(), &st) != 0)
        return false;
    return (st.st_mode & (S_IRGRP | S_IROTH)) != 0;
}
