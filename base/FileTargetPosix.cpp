// Where files are written and read on POSIX systems.
#include "base/FileTarget.h"

#include "base/ResText.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool FileTarget::namesDevice(const QString &path) {
    Q_UNUSED(path);
    return false;
}

bool FileTarget::putInPlace(QFile &file, const QString &old) {
    // rename() keeps the open file: the writes go on into it under the old file's name.
    if (std::rename(QFile::encodeName(file.fileName()).constData(),
                    QFile::encodeName(old).constData()) == 0)
        return true;
    file.close();
    return false;
}

bool FileTarget::openRegular(QFile &file, QString *why) {
    const auto fail = [why](const QString &reason) {
        if (why)
            *why = reason;
        return false;
    };
    // Its type is looked at before anything is opened ...
    const QFileInfo info(file.fileName());
    if (!info.isFile())
        return fail(info.exists() ? ResText(1645) : qt_error_string(ENOENT));
    // ... and again on the file opened without waiting, in case the path changed meanwhile.
    const int fd = ::open(QFile::encodeName(file.fileName()).constData(),
                          O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return fail(qt_error_string(errno));
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0 ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail(ResText(1645));
    }
    return true;
}
