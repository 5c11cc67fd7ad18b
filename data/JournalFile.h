#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// A file of the journal of writes. The journal's folder is shared with whatever else the user or
// another program puts there, so its files are made only where nothing is (never through a
// symbolic link, never over a folder or another file) and read only when they are small regular
// files that are no links. A file made here stays open while its entry is under way, held so
// that a reader can tell a write in progress from one whose program died.
class JournalFile {
public:
    JournalFile() = default;
    ~JournalFile() { close(); }
    JournalFile(const JournalFile &) = delete;
    JournalFile &operator=(const JournalFile &) = delete;

    // Makes path new; false when anything is there already (a file, a folder, a link, even a
    // broken one) or it cannot be made.
    bool create(const QString &path);
    // The whole content replaced by bytes.
    bool put(const QByteArray &bytes);
    // Holds the file for this process until it is closed.
    bool hold();
    void close();
    bool isOpen() const { return m_fd >= 0; }

    // The content of a regular file at path that is no link and no longer than limit; none
    // otherwise. held: whether a live process holds it (see hold()).
    static std::optional<QByteArray> read(const QString &path, qint64 limit, bool *held = nullptr);
    // Whether anything at all is at path, a broken link too.
    static bool occupied(const QString &path);

private:
    int m_fd = -1;
};
