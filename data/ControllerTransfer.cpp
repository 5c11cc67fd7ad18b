#include "data/ControllerTransfer.h"

#include "base/MainScreen.h"
#include "base/MessageLines.h"
#include "base/ProgressView.h"
#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "base/UserPrompt.h"
#include "data/ExchangeMessage.h"
#include "data/FileOperations.h"
#include "data/QvData.h"
#include "link/ControllerLink.h"

#include <QScopeGuard>

namespace {

constexpr int ReadSteps = 6;
constexpr int WriteSteps = 7;

} // namespace

ControllerTransfer::ControllerTransfer(ControllerLink &link, UserPrompt &prompt,
                                       QvDataCopies &copies, MainScreen &screen,
                                       FileOperations &files, ProgressView &progress)
    : m_link(link), m_prompt(prompt), m_copies(copies), m_screen(screen), m_files(files),
      m_progress(progress) {}

OpResult ControllerTransfer::ReadBlocks() {
    ControllerScope controller = m_link.controller(ControllerLink::Opening::Checked, [this] {
        m_progress.setLabel(ResText(201));
        m_progress.show();
    });
    // Started while another operation waits for a reply (the verification menu items leave the
    // buttons enabled): its port and progress window are not ours to release and close.
    if (controller.refusal().status == OpResult::Status::Busy)
        return controller.refusal();
    // The progress window goes before the port is given back.
    const auto unload = qScopeGuard([this] { m_progress.unload(); });
    if (!controller.isHeld())
        return told(controller, controller.refusal());
    m_progress.setLabel(ResText(202));
    m_progress.setMaximum(ReadSteps);
    ControllerBlocks::ReadReplies replies;
    for (int i = 0; i < int(replies.size()); ++i) {
        const Valued<QString> reply =
            controller.readBlock(QLatin1String(ControllerBlocks::ReadOrder[i]));
        if (!reply.isDone())
            return told(controller, reply.result);
        replies[i] = reply.value;
        m_progress.setValue(i + 1);
    }
    // A reply the decoder cannot take leaves the read copy as it was: the read failed.
    if (Extract2temp(replies, m_copies.read) != 0)
        return OpResult::failed(OpResult::Failure::Malformed);
    return OpResult::done();
}

OpResult ControllerTransfer::told(ControllerScope &controller, const OpResult &result) {
    presentExchange(m_prompt, controller, result);
    return result;
}

OpResult ControllerTransfer::readAndAdopt() {
    OpResult result = ReadBlocks();
    if (!result.isDone()) {
        // A read refused because another exchange still waits (we run inside its wait) is no
        // failure of the line.
        if (result.status != OpResult::Status::Busy) {
            m_prompt.MsgBox(ResText(212));
            result.orText(ResText(212));
        }
        return result;
    }
    m_copies.CopyTemp2Hensu();
    m_screen.ShowQvData();
    m_files.setCurrentFileName(ResText(213));
    m_screen.setDataChanged(false);
    return result;
}

OpResult ControllerTransfer::GetfromCt() {
    const auto enableAgain = disabledControls(m_screen);
    bool go = true;
    if (m_screen.DataChanged()) {
        const SaveChoice choice = m_prompt.saveBeforeRead();
        // A Yes whose Save As did not happen (cancelled, refused or failed) keeps the edits on
        // screen: the read would replace them.
        go = choice == SaveChoice::Discard ||
             (choice == SaveChoice::Save && m_files.SaveAs().isDone());
    } else {
        go = m_prompt.confirmRead();
    }
    return go ? readAndAdopt() : OpResult::stopped();
}

OpResult ControllerTransfer::OnlineDataRead() {
    const auto enableAgain = disabledControls(m_screen);
    return readAndAdopt();
}

OpResult ControllerTransfer::WriteBlocks() {
    m_progress.show();
    m_progress.setMaximum(WriteSteps);
    m_progress.setLabel(ResText(214));
    m_blocksSent = 0;
    ControllerScope controller = m_link.controller();
    const auto unload = qScopeGuard([this] { m_progress.unload(); });
    if (!controller.isHeld())
        return told(controller, controller.refusal());
    const bool parameters = m_screen.ParametersActive();
    for (int i = 0; i < int(m_blocks.size()); ++i) {
        if (!parameters && (i == ControllerBlocks::HomingRow || i == ControllerBlocks::SensorRow))
            continue;
        if (m_stop && m_stop->load())
            return OpResult::stopped();
        // The journal knows of each block before it goes.
        m_record.sent(++m_blocksSent);
        const OpResult result = controller.writeBlock(m_blocks[i]);
        if (!result.isDone())
            return told(controller, result);
        m_progress.setValue(i + 1);
    }
    return OpResult::done();
}

OpResult ControllerTransfer::RestartController() {
    ControllerScope controller = m_link.controller();
    return controller.isHeld() ? controller.restart() : told(controller, controller.refusal());
}

OpResult ControllerTransfer::LoadtoCt() {
    const auto enableAgain = disabledControls(m_screen);
    return writeAndRestart();
}

OpResult ControllerTransfer::writeAndRestart() {
    // Before-values given for this write belong to it alone, whatever becomes of it.
    m_givenBefore = m_journal ? m_journal->takePendingBefore() : std::nullopt;
    // The checks have told the user what they refused.
    if (!m_screen.ScreenCheck())
        return OpResult::failed(OpResult::Failure::Refused);
    if (m_preview && m_preview->PreviewWrite) {
        if (const OpResult previewed = previewChanges(); !previewed.isDone())
            return previewed;
    }
    if (!m_prompt.confirmWrite())
        return OpResult::stopped();
    // A port that cannot be opened ends the write without a message. The port opened for the
    // check is given back however the write ends.
    ControllerScope controller = m_link.controller();
    if (!controller.isHeld())
        return told(controller, controller.refusal());
    if (SetData2PSDA(m_copies.working, m_screen.ParametersActive(), m_blocks, m_prompt) != 0)
        return OpResult::failed(OpResult::Failure::Refused,
                                joinLines({ResText(248), ResText(249)}));
    if (OpResult journalled = journalBefore(); !journalled.isDone()) {
        if (journalled.status != OpResult::Status::Busy) {
            m_prompt.MsgBox(ResText(217));
            m_prompt.MsgBox(journalled.text, MsgButtons::OkOnly, MsgIcon::Exclamation);
        }
        return journalled;
    }
    OpResult result = WriteBlocks();
    // A stop that came with the last block still keeps the restart from going out.
    if (result.status == OpResult::Status::Stopped || (result.isDone() && m_stop && m_stop->load()))
        return interrupted();
    if (!result.isDone()) {
        // Refused because another exchange still waits (we run inside its wait): not a failure
        // of the line, nothing to tell.
        if (result.status != OpResult::Status::Busy) {
            m_prompt.MsgBox(ResText(217));
            result.orText(ResText(217));
        }
        journalAfter(result, nullptr);
        return result;
    }
    if (m_prompt.confirmRestart()) {
        // A failed restart has shown the exchange's message, if any, and released the port;
        // the data stay "changed".
        const OpResult written = result;
        result = RestartController();
        journalAfter(written, &result);
        if (!result.isDone())
            return result;
        m_prompt.MsgBox(ResText(220));
    } else {
        journalAfter(result, nullptr);
    }
    m_screen.setDataChanged(false);
    return result;
}
