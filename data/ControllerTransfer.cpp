#include "data/ControllerTransfer.h"

#include "base/MainScreen.h"
#include "base/ProgressView.h"
#include "base/ResText.h"
#include "base/UserPrompt.h"
#include "data/FileOperations.h"
#include "data/QvData.h"
#include "link/ControllerLink.h"

namespace {

constexpr int BlockTimeoutMs = 5000;
constexpr qint16 BlockReplyLength = 23;
constexpr qint16 CheckReplyLength = 6;
constexpr int ReadSteps = 6;
constexpr int WriteSteps = 7;

} // namespace

ControllerTransfer::ControllerTransfer(ControllerLink &link, UserPrompt &prompt,
                                       QvDataCopies &copies, MainScreen &screen,
                                       FileOperations &files, ProgressView &progress)
    : m_link(link), m_prompt(prompt), m_copies(copies), m_screen(screen), m_files(files),
      m_progress(progress) {}

OpResult ControllerTransfer::ReadBlocks() {
    // Started while another operation waits for a reply (the verification menu items leave the
    // buttons enabled): its port and progress window are not ours to release and close.
    if (m_link.isBusy())
        return OpResult::busy();
    m_progress.setLabel(ResText(201));
    m_progress.show();
    OpResult result = m_link.openAndCheck();
    if (result.isDone()) {
        m_progress.setLabel(ResText(202));
        m_progress.setMaximum(ReadSteps);
        ControllerBlocks::ReadReplies replies;
        for (int i = 0; i < int(replies.size()) && result.isDone(); ++i) {
            // The reply must name the block asked for: another block's data would be decoded
            // into the wrong items.
            const QString block = QLatin1String(ControllerBlocks::ReadOrder[i]);
            const QString command = QStringLiteral("0RD");
            const ExchangeResult reply = m_link.SendCommand(command, BlockReplyLength, block,
                                                            BlockTimeoutMs, command + block);
            result = reply.toResult();
            if (reply.good()) {
                replies[i] = reply.reply;
                m_progress.setValue(i + 1);
            }
        }
        // A reply the decoder cannot take leaves the read copy as it was: the read failed.
        if (result.isDone() && Extract2temp(replies, m_copies.read) != 0)
            result = OpResult::failed(OpResult::Failure::Malformed);
    }
    if (result.isDone())
        m_link.clearCommFailed();
    m_progress.unload();
    m_link.ReleasePort();
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
        m_link.clearCommFailed();
        return result;
    }
    m_copies.CopyTemp2Hensu();
    m_screen.ShowQvData();
    m_files.setCurrentFileName(ResText(213));
    m_screen.setDataChanged(false);
    return result;
}

OpResult ControllerTransfer::GetfromCt() {
    m_screen.CMDBTN_Muko();
    m_screen.Menyu_Muko();
    bool go = true;
    if (m_screen.DataChanged()) {
        const SaveChoice choice = m_prompt.saveBeforeRead();
        // A Yes whose Save As did not happen (cancelled, refused or failed) keeps the edits on
        // screen: the read would replace them.
        go = choice == SaveChoice::Discard || (choice == SaveChoice::Save && m_files.SaveAs() == 0);
    } else {
        go = m_prompt.confirmRead();
    }
    const OpResult result = go ? readAndAdopt() : OpResult::stopped();
    m_screen.CMDBTN_Yuko();
    m_screen.Menyu_Yuko();
    return result;
}

OpResult ControllerTransfer::OnlineDataRead() {
    m_screen.CMDBTN_Muko();
    m_screen.Menyu_Muko();
    const OpResult result = readAndAdopt();
    m_screen.CMDBTN_Yuko();
    m_screen.Menyu_Yuko();
    return result;
}

OpResult ControllerTransfer::WriteBlocks() {
    m_progress.show();
    m_progress.setMaximum(WriteSteps);
    m_progress.setLabel(ResText(214));
    OpResult result = m_link.openAndCheck();
    const bool parameters = m_screen.ParametersActive();
    m_blocksSent = 0;
    for (int i = 0; i < int(m_blocks.size()) && result.isDone(); ++i) {
        if (!parameters && (i == ControllerBlocks::HomingRow || i == ControllerBlocks::SensorRow))
            continue;
        if (m_stop && m_stop->load()) {
            result = OpResult::stopped();
            break;
        }
        // The controller echoes the line it took; any other echo means the block did not
        // arrive as sent.
        const QString line = QStringLiteral("0WD") + m_blocks[i];
        // The journal knows of each block before it goes.
        m_record.sent(++m_blocksSent);
        result =
            m_link.SendCommand(line.left(3), BlockReplyLength, m_blocks[i], BlockTimeoutMs, line)
                .toResult();
        if (result.isDone())
            m_progress.setValue(i + 1);
    }
    m_progress.unload();
    m_link.ReleasePort();
    return result;
}

OpResult ControllerTransfer::RestartController() {
    OpResult result = m_link.openAndCheck();
    if (result.isDone())
        result = m_link.SendCommandNoReply(QStringLiteral("0CM3"), CheckReplyLength, QString())
                     .toResult();
    m_link.ReleasePort();
    return result;
}

OpResult ControllerTransfer::LoadtoCt() {
    m_screen.CMDBTN_Muko();
    m_screen.Menyu_Muko();
    const OpResult result = writeAndRestart();
    m_screen.CMDBTN_Yuko();
    m_screen.Menyu_Yuko();
    return result;
}

OpResult ControllerTransfer::writeAndRestart() {
    // Before-values given for this write belong to it alone, whatever becomes of it.
    m_givenBefore = m_journal ? m_journal->takePendingBefore() : std::nullopt;
    // The checks have told the user what they refused.
    if (m_screen.ScreenCheck() != 0)
        return OpResult::failed(OpResult::Failure::Refused);
    if (!m_prompt.confirmWrite())
        return OpResult::stopped();
    // A port that cannot be opened ends the write without a message.
    OpResult result = m_link.openAndCheck();
    if (!result.isDone()) {
        m_link.clearCommFailed();
        return result;
    }
    if (SetData2PSDA(m_copies.working, m_screen.ParametersActive(), m_blocks, m_prompt) != 0) {
        // Nothing was sent; the port opened for the check is given back.
        m_link.ReleasePort();
        return OpResult::failed(OpResult::Failure::Refused,
                                ResText(248) + QStringLiteral("\r\n") + ResText(249));
    }
    journalBefore();
    result = WriteBlocks();
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
    m_link.ReleasePort();
    return result;
}
