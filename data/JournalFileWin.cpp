// The journal's files on Windows: opened in binary (the C library would otherwise turn each LF
// into CR LF and cut a header short), links looked for first (there is no O_NOFOLLOW), held by a
// lock on one byte far past the end of any header (a lock of Windows keeps others from reading
// the bytes it covers).
#include "data/JournalFile.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

namespace {

constexpr int Binary = O_BINARY | O_NOINHERIT;

OVERLAPPED markAt() {
    OVERLAPPED at{};
    at.OffsetHigh = 0x7fffffff;
    return at;
}

// Taken at once or not at all.
bool lockMark(int fd, DWORD flags) {
    OVERLAPPED at = markAt();
    return LockFileEx(HANDLE(_get_osfhandle(fd)), flags | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at);
}

// Let go before the handle closes: Windows frees a closed handle's locks only in its own time.
void unlockMark(int fd) {
    OVERLAPPED at = markAt();
    UnlockFileEx(HANDLE(_get_osfhandle(fd)), 0, 1, 0, &at);
}

} // namespace

bool JournalFile::create(const QString &path) {
    close();
    if (occupied(path))
        return false;
    m_fd = ::_wopen(reinterpret_cast<const wchar_t *>(path.utf16()),
                    _O_RDWR | _O_CREAT | _O_EXCL | Binary, _S_IREAD | _S_IWRITE);
    return m_fd >= 0;
}

bool JournalFile::put(const QByteArray &bytes) {
    return m_fd >= 0 && ::_lseek(m_fd, 0, SEEK_SET) == 0 &&
           ::_write(m_fd, bytes.constData(), unsigned(bytes.size())) == bytes.size() &&
           ::_chsize(m_fd, long(bytes.size())) == 0;
}

bool JournalFile::hold() {
    // Like flock's, the lock ends with the handle, however the process ends.
    return m_fd >= 0 && lockMark(m_fd, LOCKFILE_EXCLUSIVE_LOCK);
}

void JournalFile::close() {
    if (m_fd < 0)
        return;
    unlockMark(m_fd);
    ::_close(m_fd);
    m_fd = -1;
}

std::optional<QByteArray> JournalFile::read(const QString &path, qint64 limit, bool *held) {
    if (held)
        *held = false;
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isFile())
        return std::nullopt;
    const int fd = ::_wopen(reinterpret_cast<const wchar_t *>(path.utf16()), _O_RDONLY | Binary);
    if (fd < 0)
        return std::nullopt;
    std::optional<QByteArray> bytes;
    const long size = ::_filelength(fd);
    if (size >= 0 && size <= limit) {
        QByteArray text(qsizetype(size), Qt::Uninitialized);
        const int n = ::_read(fd, text.data(), unsigned(size));
        if (n >= 0) {
            text.truncate(n);
            bytes = text;
        }
        if (held && lockMark(fd, 0))
            unlockMark(fd);
        else if (held)
            *held = GetLastError() == ERROR_LOCK_VIOLATION;
    }
    ::_close(fd);
    return bytes;
}
