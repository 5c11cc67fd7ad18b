#include "data/Verification.h"

#include "base/FileDialogs.h"
#include "base/MainScreen.h"
#include "base/ResText.h"
#include "base/UserPrompt.h"
#include "data/ControllerTransfer.h"
#include "data/FileOperations.h"
#include "data/QvData.h"
#include "data/QvItems.h"
#include "link/ControllerLink.h"

#include <functional>

namespace {
const QString CrLf = QStringLiteral("\r\n");
} // namespace

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

qint16 CompareQvData(const QvDataCopies &copies, bool parametersActive, UserPrompt &prompt,
                     CompareWith other) {
    const QString list = UnmatchedList(copies.working, copies.read, parametersActive);
    if (list.isEmpty()) {
        prompt.MsgBox(ResText(272));
        return 0;
    }
    // The report names the items; the details give both values of each.
    const int valuesId = other == CompareWith::Controller ? 1719 : 1720;
    QStringList details;
    for (const ItemDifference &d : Differences(copies.working, copies.read, parametersActive))
        details.append(ItemLabel(*d.item) + QStringLiteral(": ") +
                       ResText(valuesId).arg(d.working).arg(d.read));
    prompt.MsgBoxDetailed(ResText(273) + CrLf + CrLf + ResText(274) + CrLf + list,
                          details.join(CrLf));
    return 1;
}

Verification::Verification(ControllerLink &link, ControllerTransfer &transfer, QvDataCopies &copies,
                           MainScreen &screen, UserPrompt &prompt, FileOperations &files,
                           FileDialogs &dialogs)
    : m_link(link), m_transfer(transfer), m_copies(copies), m_screen(screen), m_prompt(prompt),
      m_files(files), m_dialogs(dialogs) {}

namespace {

qint16 bracketed(MainScreen &screen, bool bracket, const std::function<qint16()> &work) {
    if (bracket) {
        screen.CMDBTN_Muko();
        screen.Menyu_Muko();
    }
    const qint16 result = work();
    if (bracket) {
        screen.CMDBTN_Yuko();
        screen.Menyu_Yuko();
    }
    return result;
}

} // namespace

qint16 Verification::PosiDataCtShogo(bool bracket) {
    return bracketed(m_screen, bracket, [this] { return ctShogo(); });
}

qint16 Verification::PosiDataFileShogo(bool bracket) {
    return bracketed(m_screen, bracket, [this] { return fileShogo(); });
}

qint16 Verification::ctShogo() {
    // The menu item stays enabled while a read or write waits for a reply. The link would refuse
    // our exchanges, but releasing the port and closing the progress window here would break the
    // running operation: leave it alone.
    if (m_link.isBusy())
        return 1;
    // A failed exchange has shown its message and nothing of ours follows; replies that could not
    // be decoded have shown nothing, so the read-failure message tells the user.
    m_compared = false;
    qint16 result = 1;
    if (m_screen.ScreenCheck() == 0) {
        m_compared = m_transfer.ReadBlocks() == 0;
        if (m_compared)
            result = CompareQvData(m_copies, m_screen.ParametersActive(), m_prompt);
        else if (m_transfer.readUndecodable())
            m_prompt.MsgBox(ResText(212));
    }
    m_link.ReleasePort();
    return result;
}

qint16 Verification::fileShogo() {
    m_compared = false;
    if (m_screen.ScreenCheck() != 0)
        return 1;
    FileDialogs::Options options;
    options.title = ResText(203);
    options.defaultExt = ResText(204);
    options.filter = ResText(205);
    const QString path = m_dialogs.ShowOpen(options);
    if (path.isEmpty())
        return 1;
    // Reading a file marks the data as unchanged; here the screen keeps its own data, so an
    // edit not yet saved must still be asked about on closing.
    const bool changed = m_screen.DataChanged();
    const qint16 read = m_files.ReadQvFile(path);
    m_screen.setDataChanged(changed);
    if (read != 0)
        return 1;
    m_compared = true;
    return CompareQvData(m_copies, m_screen.ParametersActive(), m_prompt, CompareWith::File);
}
