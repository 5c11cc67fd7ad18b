// The journal's part of the write: the controller's values just before, and the entry stored
// once the blocks have gone out.
#include "data/ControllerTransfer.h"

#include "base/MainScreen.h"
#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "data/QvItems.h"
#include "link/ControllerLink.h"
#include "link/PortCheck.h"

namespace {

// Why a write or restart failed, on one line: its text, else the failure's name.
QString reasonOf(const OpResult &result) {
    return result.text.isEmpty() ? QLatin1String(toString(result.failure)) : result.oneLine();
}

} // namespace

std::optional<JournalEntry> ControllerTransfer::journalBefore() {
    if (!m_journal || (!m_givenBefore && !m_journal->keptForEveryWrite()))
        return std::nullopt;
    JournalEntry entry;
    // The port is open for the write's check: the device it reached names the controller.
    entry.device = m_link.openDevicePath();
    entry.port = m_link.portName();
    entry.serial = PortCheck::openHere(entry.device).serialNumber;
    entry.parameters = m_screen.ParametersActive();
    if (m_givenBefore) {
        entry.before = *m_givenBefore;
    } else {
        // The read fills the read copy, which holds what the screen was last read from.
        const QvData kept = m_copies.read;
        const OpResult read = ReadBlocks();
        entry.before = m_copies.read;
        m_copies.read = kept;
        if (!read.isDone()) {
            m_link.clearCommFailed();
            m_screen.ShowNote(ResText(1571));
            return std::nullopt;
        }
    }
    // What the controller holds once the blocks are in: the items written, the rest as before.
    entry.after = entry.before;
    for (const QvItem &item : QvItems) {
        if (entry.parameters || !item.isParameter())
            item.set(entry.after, item.get(m_copies.working));
    }
    return entry;
}

void ControllerTransfer::journalAfter(std::optional<JournalEntry> &entry, const OpResult &write,
                                      const OpResult *restart) {
    // A write that sent nothing did not happen.
    if (!entry || m_blocksSent == 0)
        return;
    entry->time = QDateTime::currentDateTimeUtc();
    if (!write.isDone()) {
        entry->ended = JournalEntry::Ended::Failed;
        entry->reason = reasonOf(write);
    } else if (restart && restart->isDone()) {
        entry->ended = JournalEntry::Ended::Restarted;
    } else if (restart) {
        entry->ended = JournalEntry::Ended::RestartFailed;
        entry->reason = reasonOf(*restart);
    } else {
        entry->ended = JournalEntry::Ended::Written;
    }
    const OpResult stored = m_journal->record(*entry);
    if (!stored.isDone())
        m_screen.ShowNote(stored.text);
    entry.reset();
}
