// The journal's files on a POSIX system: opened without following links, held by flock.
#include "data/JournalFile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

bool JournalFile::create(const QString &path) {
    close();
    // O_EXCL: nothing that is there already, a link either, is opened.
    m_fd = ::open(QFile::encodeName(path).constData(),
                  O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    return m_fd >= 0;
}

bool JournalFile::put(const QByteArray &bytes) {
    if (m_fd < 0)
        return false;
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
}

bool JournalFile::hold() {
    // An open file's lock ends with the process, however it ends.
    return m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) == 0;
}

void JournalFile::close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

std::optional<QByteArray> JournalFile::read(const QString &path, qint64 limit, bool *held) {
    if (held)
        *held = false;
    // O_NONBLOCK: a FIFO put in its place is not waited for.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDONLY | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::optional<QByteArray> bytes;
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
    ::close(fd);
    return bytes;
}
