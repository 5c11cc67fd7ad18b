// The commands of qvpc-cli that look at or change single items of the controller, and the
// preview of a write: each reads the controller first and works on what it holds.
#include "cli/CliSession.h"

#include "base/ResText.h"
#include "cli/JsonReport.h"
#include "data/ControllerTransfer.h"
#include "data/QvItems.h"
#include "data/Verification.h"

#include <QTextStream>

#include <algorithm>

OpResult CliSession::readController() {
    OpResult result = m_session.transfer().ReadBlocks();
    if (!result.isDone()) {
        m_prompt.MsgBox(ResText(212));
        result.orText(ResText(212));
        result = ended(result).result;
    }
    return result;
}

CliOutcome CliSession::dryRun() {
    // The file as the write would take it: a file the write would refuse is refused here too.
    if (const OpResult file = takeCheckedFile(); !file.isDone())
        return {file};
    const OpResult read = readController();
    if (!read.isDone())
        return {read};
    const QvDataCopies &copies = m_session.copies;
    const QList<ItemDifference> changes =
        Differences(copies.working, copies.read, m_request.parameters);
    if (json())
        m_json.insert(QStringLiteral("file"), m_request.file);
    printChanges(changes, QStringLiteral("file"));
    return {read, !changes.isEmpty()};
}

void CliSession::printChanges(const QList<ItemDifference> &changes, const QString &newKey) {
    if (json()) {
        m_json.insert(QStringLiteral("changes"),
                      JsonReport::differences(changes, newKey, QStringLiteral("controller")));
    } else {
        for (const ItemDifference &d : changes)
            m_out << ItemLabel(*d.item) << '\t' << d.read << '\t' << d.working << '\n';
    }
    m_out.flush();
}

CliOutcome CliSession::get() {
    const OpResult read = readController();
    if (!read.isDone())
        return {read};
    if (json()) {
        m_json.insert(QStringLiteral("items"),
                      JsonReport::items(m_session.copies.read, m_request.items));
    } else {
        for (const QvItem *item : m_request.items)
            m_out << item->name << ' ' << item->get(m_session.copies.read) << '\n';
    }
    m_out.flush();
    return {read};
}

CliOutcome CliSession::set() {
    return changeItems(m_request.values, readController());
}

CliOutcome CliSession::changeItems(const QList<std::pair<const QvItem *, qint32>> &values,
                                   const OpResult &read) {
    if (!read.isDone())
        return {read};
    // The controller's own values for everything not named.
    QvDataCopies &copies = m_session.copies;
    copies.CopyTemp2Hensu();
    for (const auto &[item, value] : values)
        item->set(copies.working, value);
    // A sensor or homing item is written with the parameter blocks; without one they stay as
    // they are.
    m_screen.setParametersActive(std::any_of(values.begin(), values.end(),
                                             [](const auto &v) { return v.first->isParameter(); }));
    if (json()) {
        QList<const QvItem *> named;
        for (const auto &value : values)
            named.append(value.first);
        m_json.insert(QStringLiteral("items"), JsonReport::items(copies.working, named));
    }
    m_screen.setDataChanged(true);
    // The read just made is the journal's before-values: set is journalled without a read more.
    m_session.journal.useBefore(copies.read);
    const OpResult written = ended(m_session.transfer().LoadtoCt()).result;
    // The controller takes the blocks into effect when it restarts: only then can they be read
    // back.
    if (!written.isDone() || !m_request.restart || !m_prompt.agrees(Question::RestartAfterWrite))
        return {written};
    OpResult back = m_session.transfer().ReadBlocks();
    if (!back.isDone()) {
        m_prompt.tell(ResText(1725));
        return {ended(back.orText(ResText(1725))).result};
    }
    if (!Differences(copies.working, copies.read, m_screen.ParametersActive()).isEmpty()) {
        m_prompt.tell(ResText(1724));
        return {OpResult::failed(OpResult::Failure::Unconfirmed, ResText(1724))};
    }
    return {back};
}
