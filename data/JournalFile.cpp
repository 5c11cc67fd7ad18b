#include "data/JournalFile.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <io.h>
#endif

namespace {

#ifdef Q_OS_UNIX
constexpr int NoFollow = O_NOFOLLOW | O_CLOEXEC;
#else
constexpr int NoFollow = 0;
#define O_NONBLOCK 0
#define O_NOCTTY 0
#endif

} // namespace

bool JournalFile::create(const QString &path) {
    close();
#ifndef Q_OS_UNIX
    // Without O_NOFOLLOW, a link is looked for first.
    if (occupied(path))
        return false;
#endif
    // O_EXCL: nothing that is there already, a link either, is opened.
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_EXCL | NoFollow, 0644);
    return m_fd >= 0;
}

bool JournalFile::put(const QByteArray &bytes) {
    if (m_fd < 0)
        return false;
#ifdef Q_OS_UNIX
    // Written from the start, then cut to its length: a reader sees the old text or the new one
    // followed for a moment by the old one's end, never an empty file.
    qint64 at = 0;
    while (at < bytes.size()) {
        const ssize_t n = ::pwrite(m_fd, bytes.constData() + at, size_t(bytes.size() - at), at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        at += n;
    }
    return ::ftruncate(m_fd, at) == 0;
#else
    return ::_lseek(m_fd, 0, SEEK_SET) == 0 &&
           ::_write(m_fd, bytes.constData(), unsigned(bytes.size())) == bytes.size() &&
           ::_chsize(m_fd, long(bytes.size())) == 0;
#endif
}

bool JournalFile::hold() {
#ifdef Q_OS_UNIX
    // An open file's lock ends with the process, however it ends.
    return m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) == 0;
#else
    return m_fd >= 0;
#endif
}

void JournalFile::close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

std::optional<QByteArray> JournalFile::read(const QString &path, qint64 limit, bool *held) {
    if (held)
        *held = false;
#ifndef Q_OS_UNIX
    if (QFileInfo(path).isSymLink())
        return std::nullopt;
#endif
    // O_NONBLOCK: a FIFO put in its place is not waited for.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | NoFollow);
    if (fd < 0)
        return std::nullopt;
    std::optional<QByteArray> bytes;
#ifdef Q_OS_UNIX
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size <= limit) {
        QByteArray text(qsizetype(status.st_size), Qt::Uninitialized);
        const ssize_t n = ::pread(fd, text.data(), size_t(text.size()), 0);
        if (n >= 0) {
            text.truncate(n);
            bytes = text;
        }
        if (held && ::flock(fd, LOCK_SH | LOCK_NB) != 0)
            *held = errno == EWOULDBLOCK;
    }
#else
    const long size = ::_filelength(fd);
    if (size >= 0 && size <= limit) {
        QByteArray text(qsizetype(size), Qt::Uninitialized);
        const int n = ::_read(fd, text.data(), unsigned(size));
        if (n >= 0) {
            text.truncate(n);
            bytes = text;
        }
    }
#endif
    ::close(fd);
    return bytes;
}

bool JournalFile::occupied(const QString &path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}
