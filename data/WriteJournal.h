#pragma once

#include "base/OpResult.h"
#include "data/QvData.h"
#include "data/Verification.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

class StoredSettings;

// One write this program made to a controller: when, through which port to which device, the
// controller's values just before and the values it was sent, and how the write ended.
struct JournalEntry {
    enum class Ended { Written, Restarted, RestartFailed, Failed };

    int number = 0;          // unique in the journal, growing with each write
    QDateTime time;          // UTC
    QString port;            // as the user named it: "COM3" or the device path
    QString device;          // the device path or network URL opened; names the controller
    QString serial;          // the adapter's serial number; empty where the system gives none
    bool parameters = false; // the sensor and homing blocks were written too
    Ended ended = Ended::Written;
    QString reason; // why a write or restart failed, on one line
    QvData before;
    QvData after;

    // The items the write changed, in the item table's order: working = after, read = before.
    QList<ItemDifference> changes() const { return Differences(after, before, parameters); }
};

// How a write ended, as one word the same in every language: written, restarted,
// restart-failed, failed.
QString endedWord(JournalEntry::Ended ended);

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

    // Whether each write reads the controller first so that it can be journalled (the stored
    // "Journal" setting, or the command line's choice for one run).
    bool keptForEveryWrite() const;

    // The controller's values as the caller has just read them: the next write is journalled
    // with them as its before-values, without a read of its own and whatever the setting says.
    void useBefore(const QvData &before) { m_pendingBefore = before; }
    std::optional<QvData> takePendingBefore();

    // Stores the entry under the next free number (set in entry) and drops the oldest entries of
    // its controller beyond KeptPerController. Failed (FileError, with the text to show) when the
    // entry could not be stored; nothing of it is left then.
    OpResult record(JournalEntry &entry) const;

    // The entries, newest first; with a device, only that controller's.
    QList<JournalEntry> entries(const QString &device = QString()) const;
    std::optional<JournalEntry> entry(int number) const;

    // Whether two spellings name the same controller (a path and its canonical form).
    static bool sameController(const QString &a, const QString &b);

private:
    QString headerPath(int number) const;
    QString dataPath(int number, const char *which) const;
    std::optional<JournalEntry> load(int number) const;
    void remove(int number) const;
    QList<int> numbers() const;

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
