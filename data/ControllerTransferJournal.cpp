// The journal's part of the write: the controller's values just before, the entry stored as under
// way before the first block goes out and completed at the end; and the end of an interrupted
// write.
#include "data/ControllerTransfer.h"

#include "base/MainScreen.h"
#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "base/UserPrompt.h"
#include "data/QvItems.h"
#include "link/ControllerLink.h"
#include "link/PortCheck.h"

namespace {

// Why a write or restart failed, on one line: its text, else the failure's name.
QString reasonOf(const OpResult &result) {
    return result.text.isEmpty() ? QLatin1String(toString(result.failure)) : result.oneLine();
}

} // namespace

OpResult ControllerTransfer::journalBefore() {
    if (!m_journal || (!m_givenBefore && !m_journal->keptForEveryWrite()))
        return OpResult::done();
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
            // Refused because another exchange still waits: nothing to tell.
            if (read.status == OpResult::Status::Busy)
                return read;
            // The read's kind stays; its text is why nothing was written (the read's own
            // message has been shown by the exchange).
            OpResult result = read;
            result.text = ResText(1680);
            result.errorCode.clear();
            return result;
        }
    }
    // What the controller holds once the blocks are in: the items written, the rest as before.
    entry.after = entry.before;
    for (const QvItem &item : QvItems) {
        if (entry.parameters || !item.isParameter())
            item.set(entry.after, item.get(m_copies.working));
    }
    entry.time = QDateTime::currentDateTimeUtc();
    entry.blocks = int(ControllerBlocks::WriteOrder.size()) - (entry.parameters ? 0 : 2);
    entry.blocksSent = 0;
    if (!m_journal->begin(entry, m_record).isDone())
        return OpResult::failed(OpResult::Failure::FileError,
                                ResText(1681).arg(m_journal->folder()));
    return OpResult::done();
}

void ControllerTransfer::journalAfter(const OpResult &write, const OpResult *restart) {
    // A write that sent nothing did not happen.
    if (m_blocksSent == 0) {
        m_record.drop();
        return;
    }
    JournalEntry::Ended ended = JournalEntry::Ended::Written;
    QString reason;
    if (!write.isDone()) {
        ended = JournalEntry::Ended::Failed;
        reason = reasonOf(write);
    } else if (restart && restart->isDone()) {
        ended = JournalEntry::Ended::Restarted;
    } else if (restart) {
        ended = JournalEntry::Ended::RestartFailed;
        reason = reasonOf(*restart);
    }
    const OpResult stored = m_record.end(ended, reason);
    if (!stored.isDone())
        m_screen.ShowNote(stored.text);
}

OpResult ControllerTransfer::interrupted() {
    QStringList sent;
    QStringList unsent;
    const bool parameters = m_screen.ParametersActive();
    for (int i = 0; i < int(ControllerBlocks::WriteOrder.size()); ++i) {
        if (parameters || (i != ControllerBlocks::HomingRow && i != ControllerBlocks::SensorRow))
            (sent.size() < m_blocksSent ? sent : unsent)
                .append(QLatin1String(ControllerBlocks::WriteOrder[size_t(i)]));
    }
    if (m_blocksSent == 0) {
        m_record.drop();
    } else if (const OpResult stored = m_record.end(JournalEntry::Ended::Interrupted);
               !stored.isDone()) {
        m_screen.ShowNote(stored.text);
    }
    const auto listed = [](const QStringList &blocks) {
        return blocks.isEmpty() ? ResText(1595) : blocks.join(QStringLiteral(", "));
    };
    const QString told = ResText(1594).arg(listed(sent), listed(unsent));
    m_prompt.MsgBox(told, MsgButtons::OkOnly, MsgIcon::Exclamation);
    m_link.ReleasePort();
    OpResult result = OpResult::stopped();
    result.text = told;
    return result;
}
