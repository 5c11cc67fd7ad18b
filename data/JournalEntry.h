#pragma once

#include "data/QvData.h"
#include "data/Verification.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

// One write this program made to a controller: when, through which port to which device, the
// controller's values just before and the values it was sent, and how the write ended.
struct JournalEntry {
    // UnderWay: stored before the first block and still being written by a live process.
    // Interrupted: stopped by the user, or left under way by a process that died.
    enum class Ended { Written, Restarted, RestartFailed, Failed, Interrupted, UnderWay };

    int number = 0;          // unique in the journal; grows with each write, then starts again
    QDateTime time;          // UTC
    QString port;            // as the user named it: "COM3" or the device path
    QString device;          // the device path or network URL opened; names the controller
    QString serial;          // the adapter's serial number; empty where the system gives none
    bool parameters = false; // the sensor and homing blocks were written too
    Ended ended = Ended::Written;
    QString reason;      // why a write or restart failed, on one line
    int blocksSent = -1; // blocks that went out (the last perhaps unanswered); -1: not known
    int blocks = 0;      // blocks the write was to send; 0: not known
    QvData before;
    QvData after;

    // The items the write changed, in the item table's order: working = after, read = before.
    QList<ItemDifference> changes() const { return Differences(after, before, parameters); }
};

// How a write ended, as one word the same in every language: written, restarted,
// restart-failed, failed, interrupted, under-way.
QString endedWord(JournalEntry::Ended ended);

// The header file of an entry: one "key=value" line per field, UTF-8. A percent sign and every
// control character of a value are written as %XX, so that any value (a device path with a line
// break) reads back exactly.
namespace JournalHeader {

// A header longer than this is no header of ours; it is not read at all.
inline constexpr qint64 MaxSize = 64 * 1024;

QByteArray format(const JournalEntry &entry);
// The header's fields into entry (the values are left as they are); false when it lacks the
// time, the device or how the write ended, or names a port with a NUL in it.
bool parse(const QByteArray &text, JournalEntry &entry);

} // namespace JournalHeader
