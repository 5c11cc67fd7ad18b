// The commands of qvpc-cli that read the journal of writes: the history, and the undo that
// writes an entry's before-values back.
#include "cli/CliSession.h"
#include "cli/JsonReport.h"

#include "base/ResText.h"
#include "data/QvItems.h"
#include "data/Verification.h"
#include "data/WriteJournal.h"

#include <QTextStream>

namespace {

// The entries one a line, tab-separated: number, time, port, how it ended, items changed; for a
// write interrupted or under way, the blocks sent of the blocks to send where known ("2/5").
QString historyTable(const QList<JournalEntry> &entries) {
    QString text;
    for (const JournalEntry &e : entries) {
        text += QStringLiteral("%1\t%2\t%3\t%4\t%5")
                    .arg(e.number)
                    .arg(e.time.toUTC().toString(Qt::ISODate), e.port, endedWord(e.ended))
                    .arg(e.changes().size());
        const bool unfinished =
            e.ended == JournalEntry::Ended::Interrupted || e.ended == JournalEntry::Ended::UnderWay;
        if (unfinished && e.blocksSent >= 0 && e.blocks > 0)
            text += QStringLiteral("\t%1/%2").arg(e.blocksSent).arg(e.blocks);
        text += u'\n';
    }
    return text;
}

} // namespace

QString CliSession::namedDevice() {
    if (!m_request.device.isEmpty())
        return m_request.device;
    StoredSettings &settings = m_session.settings;
    if (settings.PortNo < PortMap::FirstNo || settings.PortNo > PortMap::LastNo)
        settings.ReadPortNo();
    // A number that leads nowhere names no controller of the journal (and never all of them).
    const QString path = m_session.link.devicePathFor(settings.PortNo);
    return path.isEmpty() ? PortMap::comName(settings.PortNo) : path;
}

CliOutcome CliSession::refused(const QString &text) {
    m_prompt.tell(text);
    return {OpResult::failed(OpResult::Failure::Refused, text)};
}

CliOutcome CliSession::history() {
    // An empty list would say that nothing was written.
    if (!m_session.journal.readable()) {
        const QString told = ResText(1682).arg(m_session.journal.folder());
        m_prompt.tell(told);
        return {OpResult::failed(OpResult::Failure::FileError, told)};
    }
    const bool named = !m_request.device.isEmpty() || m_request.portNo != 0;
    if (m_request.entry != 0)
        return historyEntry(named);
    const QList<JournalEntry> entries =
        m_session.journal.entries(named ? namedDevice() : QString());
    if (json())
        m_json.insert(QStringLiteral("entries"), JsonReport::journal(entries));
    else
        m_out << historyTable(entries);
    m_out.flush();
    return {};
}

// One entry: each item it changed with its value before and after, as the window's history
// shows them.
CliOutcome CliSession::historyEntry(bool named) {
    const std::optional<JournalEntry> entry = m_session.journal.entry(m_request.entry);
    if (!entry)
        return refused(ResText(1590).arg(m_request.entry));
    if (named && !WriteJournal::sameController(entry->device, namedDevice()))
        return refused(ResText(1592).arg(entry->number).arg(entry->device, namedDevice()));
    if (json()) {
        m_json.insert(QStringLiteral("entries"), JsonReport::journal({*entry}));
    } else {
        for (const ItemDifference &d : entry->changes())
            m_out << ItemLabel(*d.item) << '\t' << d.read << '\t' << d.working << '\n';
    }
    m_out.flush();
    return {};
}

CliOutcome CliSession::undo() {
    const WriteJournal &journal = m_session.journal;
    const bool named = !m_request.device.isEmpty() || m_request.portNo != 0;
    std::optional<JournalEntry> entry;
    if (m_request.entry != 0) {
        entry = journal.entry(m_request.entry);
        if (!entry)
            return refused(ResText(1590).arg(m_request.entry));
        // One controller's values never go to another by a slip of the number.
        if (named && !WriteJournal::sameController(entry->device, namedDevice()))
            return refused(ResText(1592).arg(entry->number).arg(entry->device, namedDevice()));
        if (!named) {
            // The entry's own controller, by its number where the map still leads there.
            StoredSettings &settings = m_session.settings;
            const int n = PortMap::comNumber(entry->port);
            if (n != 0 &&
                WriteJournal::sameController(m_session.link.devicePathFor(n), entry->device)) {
                settings.PortNo = qint16(n);
            } else {
                m_session.link.setDeviceOverride(entry->device);
                settings.PortNo = PortMap::FirstNo;
            }
        }
    } else {
        const QList<JournalEntry> entries = journal.entries(namedDevice());
        if (entries.isEmpty())
            return refused(ResText(1591).arg(namedDevice()));
        entry = entries.first();
    }
    QList<std::pair<const QvItem *, qint32>> values;
    for (const ItemDifference &d : entry->changes())
        values.append({d.item, d.read});
    if (values.isEmpty())
        return refused(ResText(1593).arg(entry->number));
    const OpResult read = readController();
    if (!read.isDone())
        return {read};
    // What the undo would change: the controller's values against those from before the entry.
    QvData undone = m_session.copies.read;
    for (const auto &[item, value] : values)
        item->set(undone, value);
    const QList<ItemDifference> changes = Differences(undone, m_session.copies.read, true);
    if (m_request.dryRun) {
        printChanges(changes, QStringLiteral("before"));
        return {read, !changes.isEmpty()};
    }
    // Nothing to take back: no block is written and the controller is not restarted. The read
    // shows the values in effect, not blocks written since its last restart, so only while its
    // newest journalled write was restarted.
    const QList<JournalEntry> newest = m_session.journal.entries(entry->device);
    const bool restarted =
        !newest.isEmpty() && newest.first().ended == JournalEntry::Ended::Restarted;
    if (changes.isEmpty() && restarted) {
        m_prompt.tell(ResText(1648).arg(entry->number));
        return {read};
    }
    return changeItems(values, read);
}
