#include "data/Verification.h"

#include "base/FileDialogs.h"
#include "base/MainScreen.h"
#include "base/MessageLines.h"
#include "base/ResText.h"
#include "base/UserPrompt.h"
#include "data/ControllerTransfer.h"
#include "data/FileOperations.h"
#include "data/QvData.h"
#include "data/QvItems.h"
#include "link/ControllerLink.h"

#include <functional>

namespace {} // namespace

QString UnmatchedList(const QvData &w, const QvData &r, bool parametersActive) {
    return groupedItemList([&](const QvItem &item) { return item.get(w) != item.get(r); },
                           parametersActive);
}

QList<ItemDifference> Differences(const QvData &working, const QvData &read,
                                  bool parametersActive) {
    QList<ItemDifference> out;
    for (const QvItem &item : QvItems) {
        if (item.isParameter() && !parametersActive)
            continue;
        if (item.get(working) != item.get(read))
            out.append({&item, item.get(working), item.get(read)});
    }
    return out;
}

QString ItemLabel(const QvItem &item) {
    return ResText(groupHeadingId(item.group)) + QStringLiteral(" - ") + ResText(item.labelId);
}

bool CompareQvData(const QvDataCopies &copies, bool parametersActive, UserPrompt &prompt,
                   CompareWith other) {
    const QString list = UnmatchedList(copies.working, copies.read, parametersActive);
    if (list.isEmpty()) {
        prompt.MsgBox(ResText(272));
        return true;
    }
    // The report names the items; the details give both values of each.
    const int valuesId = other == CompareWith::Controller ? 1719 : 1720;
    QStringList details;
    for (const ItemDifference &d : Differences(copies.working, copies.read, parametersActive))
        details.append(ItemLabel(*d.item) + QStringLiteral(": ") +
                       ResText(valuesId).arg(d.working).arg(d.read));
    prompt.MsgBoxDetailed(ResText(273) + CrLf + CrLf + ResText(274) + CrLf + list,
                          details.join(CrLf));
    return false;
}

Verification::Verification(ControllerLink &link, ControllerTransfer &transfer, QvDataCopies &copies,
                           MainScreen &screen, UserPrompt &prompt, FileOperations &files,
                           FileDialogs &dialogs)
    : m_link(link), m_transfer(transfer), m_copies(copies), m_screen(screen), m_prompt(prompt),
      m_files(files), m_dialogs(dialogs) {}

namespace {

VerifyResult bracketed(MainScreen &screen, bool bracket,
                       const std::function<VerifyResult()> &work) {
    if (!bracket)
        return work();
    const auto enableAgain = disabledControls(screen);
    return work();
}

VerifyResult compared(bool equal) {
    return {OpResult::done(), equal};
}

} // namespace

VerifyResult Verification::PosiDataCtShogo(bool bracket) {
    return bracketed(m_screen, bracket, [this] { return ctShogo(); });
}

VerifyResult Verification::PosiDataFileShogo(bool bracket) {
    return bracketed(m_screen, bracket, [this] { return fileShogo(); });
}

VerifyResult Verification::ctShogo() {
    // The menu item stays enabled while a read or write waits for a reply. The link would refuse
    // our exchanges, but releasing the port and closing the progress window here would break the
    // running operation: leave it alone.
    if (m_link.isBusy())
        return {OpResult::busy()};
    if (!m_screen.ScreenCheck()) {
        m_link.ReleasePort();
        return {OpResult::failed(OpResult::Failure::Refused)};
    }
    VerifyResult result;
    result.result = m_transfer.ReadBlocks();
    if (result.result.isDone()) {
        result = compared(CompareQvData(m_copies, m_screen.ParametersActive(), m_prompt));
    } else if (result.result.failure == OpResult::Failure::Malformed &&
               result.result.text.isEmpty()) {
        // A failed exchange has shown its message and nothing of ours follows; replies that could
        // not be decoded have shown nothing, so the read-failure message tells the user.
        m_prompt.MsgBox(ResText(212));
        result.result.text = ResText(212);
    }
    m_link.ReleasePort();
    return result;
}

VerifyResult Verification::fileShogo() {
    if (!m_screen.ScreenCheck())
        return {OpResult::failed(OpResult::Failure::Refused)};
    FileDialogs::Options options;
    options.title = ResText(203);
    options.defaultExt = ResText(204);
    options.filter = ResText(205);
    const QString path = m_dialogs.ShowOpen(options);
    if (path.isEmpty())
        return {OpResult::stopped()};
    // Reading a file marks the data as unchanged; here the screen keeps its own data, so an
    // edit not yet saved must still be asked about on closing.
    const bool changed = m_screen.DataChanged();
    const OpResult read = m_files.ReadQvFile(path);
    m_screen.setDataChanged(changed);
    if (!read.isDone())
        return {read};
    return compared(
        CompareQvData(m_copies, m_screen.ParametersActive(), m_prompt, CompareWith::File));
}
