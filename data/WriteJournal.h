#pragma once

#include "base/OpResult.h"
#include "data/JournalEntry.h"
#include "data/JournalFile.h"

#include <QList>
#include <QSet>
#include <QString>

#include <optional>

class StoredSettings;
class WriteJournal;

// An entry stored before its write sends anything, marked under way, and completed when the
// write ends. Its header is held while it is under way, so that a program that dies mid-write
// leaves an entry that history lists as interrupted and undo can take back.
class JournalRecord {
public:
    JournalRecord() = default;
    JournalRecord(const JournalRecord &) = delete;
    JournalRecord &operator=(const JournalRecord &) = delete;

    bool isOpen() const { return m_header.isOpen(); }
    const JournalEntry &entry() const { return m_entry; }
    // The blocks gone out so far, kept in the header before each block goes.
    void sent(int blocks);
    // Completes the entry with how the write ended and drops the oldest entries of its
    // controller beyond the bound. Failed (FileError, with the text to show) when the ending
    // could not be stored; the entry then stays under way.
    OpResult end(JournalEntry::Ended ended, const QString &reason = QString());
    // The write sent nothing: its entry goes.
    void drop();

private:
    friend class WriteJournal;
    const WriteJournal *m_journal = nullptr;
    JournalEntry m_entry;
    JournalFile m_header;
};

// The journal of writes: one entry per write in a folder of the user's data (three small files
// each: the header, and the before- and after-values as QV data files a user can open), the last
// KeptPerController entries of each controller kept. The window and qvpc-cli share it.
class WriteJournal {
public:
    static constexpr int KeptPerController = 50;

    explicit WriteJournal(const StoredSettings &settings);

    // $XDG_DATA_HOME/QVPC-Software/journal (~/.local/share without XDG_DATA_HOME).
    static QString defaultFolder();
    const QString &folder() const { return m_folder; }
    void setFolder(const QString &folder) { m_folder = folder; }

    // Whether the journal's folder can be listed, or is not there yet (nothing written so far).
    bool readable() const;

    // Whether each write reads the controller first so that it can be journalled (the stored
    // "Journal" setting, or the command line's choice for one run).
    bool keptForEveryWrite() const;

    // The controller's values as the caller has just read them: the next write is journalled
    // with them as its before-values, without a read of its own and whatever the setting says.
    void useBefore(const QvData &before) { m_pendingBefore = before; }
    std::optional<QvData> takePendingBefore();

    // Numbers run up to this, then start again at the lowest free one.
    static constexpr int MaxNumber = 999999999;

    // Stores the entry, under way, under the next free number (set in entry and record), before
    // the write sends anything. Failed (FileError, with the text to show) when it could not be
    // stored; nothing of it is left then.
    OpResult begin(JournalEntry &entry, JournalRecord &record) const;
    // Stores an entry that has ended (begin and end at once).
    OpResult record(JournalEntry &entry) const;

    // The entries, newest first (by time, then number); with a device, only that controller's.
    QList<JournalEntry> entries(const QString &device = QString()) const;
    std::optional<JournalEntry> entry(int number) const;

    // Whether two spellings name the same controller (a path and its canonical form, two
    // spellings of one server's address).
    static bool sameController(const QString &a, const QString &b);

private:
    friend class JournalRecord;
    QString headerPath(int number) const;
    QString dataPath(int number, const char *which) const;
    std::optional<JournalEntry> load(int number) const;
    void remove(int number) const;
    // The numbers of the entries' headers, named in the journal's own form only, ascending.
    QList<int> numbers() const;
    // The numbers whose names anything in the folder takes already.
    QSet<int> namesInTheWay() const;
    // Whether anything is at any of the number's three names.
    bool occupied(int number) const;
    void prune(const QString &device) const;

    const StoredSettings &m_settings;
    QString m_folder;
    std::optional<QvData> m_pendingBefore;
};

// The entry's before-values on the screen as unsaved data, ready to be written with the usual
// write (the window's "Restore these values"). Changed data on screen are offered to be saved
// first, as for Open; stopped when they stay.
class FileOperations;
class MainScreen;
OpResult restoreBefore(const JournalEntry &entry, QvDataCopies &copies, FileOperations &files,
                       MainScreen &screen);
