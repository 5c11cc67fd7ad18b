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

qint16 ControllerTransfer::ReadBlocks() {
    // Started while another operation waits for a reply (the verification menu items leave the
    // buttons enabled): its port and progress window are not ours to release and close.
    m_undecodable = false;
    if (m_link.isBusy())
        return 1;
    m_progress.setLabel(ResText(201));
    m_progress.show();
    bool failed = m_link.OpenPort() != 0 || m_link.CommCheck() != 0;
    if (!failed) {
        m_progress.setLabel(ResText(202));
        m_progress.setMaximum(ReadSteps);
        ControllerBlocks::ReadReplies replies;
        for (int i = 0; i < int(replies.size()) && !failed; ++i) {
            // The reply must name the block asked for: another block's data would be decoded
            // into the wrong items.
            const QString block = QLatin1String(ControllerBlocks::ReadOrder[i]);
            const QString command = QStringLiteral("0RD");
            failed = m_link.SendCommand(command, BlockReplyLength, block, BlockTimeoutMs,
                                        command + block) != Exchange::Good;
            if (!failed) {
                replies[i] = m_link.LastReply;
                m_progress.setValue(i + 1);
            }
        }
        // A reply the decoder cannot take leaves the read copy as it was: the read failed.
        if (!failed && Extract2temp(replies, m_copies.read) != 0)
            failed = m_undecodable = true;
    }
    if (failed) {
        m_link.ReleasePort();
        m_progress.unload();
        return 1;
    }
    m_link.CommFailed = false;
    m_progress.unload();
    m_link.ReleasePort();
    return 0;
}

qint16 ControllerTransfer::readAndAdopt() {
    if (ReadBlocks() != 0) {
        // A read refused because another exchange still waits (we run inside its wait) is no
        // failure of the line.
        if (!m_link.isBusy())
            m_prompt.MsgBox(ResText(212));
        m_link.CommFailed = false;
        return 1;
    }
    m_copies.CopyTemp2Hensu();
    m_screen.ShowQvData();
    m_files.setCurrentFileName(ResText(213));
    m_screen.setDataChanged(false);
    return 0;
}

void ControllerTransfer::GetfromCt() {
    m_screen.CMDBTN_Muko();
    m_screen.Menyu_Muko();
    bool go = true;
    if (m_screen.DataChanged()) {
        const MsgAnswer answer =
            m_prompt.MsgBox(ResText(210), MsgButtons::YesNoCancel, MsgIcon::Question, 210);
        // A Yes whose Save As did not happen (cancelled, refused or failed) keeps the edits on
        // screen: the read would replace them.
        go = answer == MsgAnswer::No || (answer == MsgAnswer::Yes && m_files.SaveAs() == 0);
    } else {
        go = m_prompt.MsgBox(ResText(211), MsgButtons::YesNo, MsgIcon::Question, 211) ==
             MsgAnswer::Yes;
    }
    if (go)
        readAndAdopt();
    m_screen.CMDBTN_Yuko();
    m_screen.Menyu_Yuko();
}

qint16 ControllerTransfer::OnlineDataRead() {
    m_screen.CMDBTN_Muko();
    m_screen.Menyu_Muko();
    const qint16 result = readAndAdopt();
    m_screen.CMDBTN_Yuko();
    m_screen.Menyu_Yuko();
    return result;
}

qint16 ControllerTransfer::WriteBlocks() {
    m_progress.show();
    m_progress.setMaximum(WriteSteps);
    m_progress.setLabel(ResText(214));
    bool failed = m_link.OpenPort() != 0 || m_link.CommCheck() != 0;
    const bool parameters = m_screen.ParametersActive();
    for (int i = 0; i < int(m_blocks.size()) && !failed; ++i) {
        if (!parameters && (i == ControllerBlocks::HomingRow || i == ControllerBlocks::SensorRow))
            continue;
        // The controller echoes the line it took; any other echo means the block did not
        // arrive as sent.
        const QString line = QStringLiteral("0WD") + m_blocks[i];
        failed = m_link.SendCommand(line.left(3), BlockReplyLength, m_blocks[i], BlockTimeoutMs,
                                    line) != Exchange::Good;
        if (!failed)
            m_progress.setValue(i + 1);
    }
    if (failed) {
        m_link.ReleasePort();
        m_progress.unload();
        return 1;
    }
    m_progress.unload();
    m_link.ReleasePort();
    return 0;
}

qint16 ControllerTransfer::RestartController() {
    qint16 result = 1;
    if (m_link.OpenPort() == 0 && m_link.CommCheck() == 0) {
        result = m_link.SendCommandNoReply(QStringLiteral("0CM3"), CheckReplyLength, QString()) ==
                         Exchange::Good
                     ? 0
                     : 1;
    }
    m_link.ReleasePort();
    return result;
}

void ControllerTransfer::LoadtoCt() {
    m_screen.CMDBTN_Muko();
    m_screen.Menyu_Muko();
    writeAndRestart();
    m_screen.CMDBTN_Yuko();
    m_screen.Menyu_Yuko();
}

void ControllerTransfer::writeAndRestart() {
    if (m_screen.ScreenCheck() != 0)
        return;
    if (m_prompt.MsgBox(ResText(216), MsgButtons::OkCancel, MsgIcon::Question, 216) !=
        MsgAnswer::Ok)
        return;
    // A port that cannot be opened ends the write without a message.
    if (m_link.OpenPort() != 0)
        return;
    if (m_link.CommCheck() != 0) {
        m_link.CommFailed = false;
        return;
    }
    if (SetData2PSDA(m_copies.working, m_screen.ParametersActive(), m_blocks, m_prompt) != 0) {
        // Nothing was sent; the port opened for the check is given back.
        m_link.ReleasePort();
        return;
    }
    if (WriteBlocks() != 0) {
        // Refused because another exchange still waits (we run inside its wait): not a failure
        // of the line, nothing to tell.
        if (!m_link.isBusy())
            m_prompt.MsgBox(ResText(217));
        return;
    }
    const QString question = ResText(218) + QStringLiteral("\r\n") + ResText(219);
    if (m_prompt.MsgBox(question, MsgButtons::OkCancel, MsgIcon::Question, 218) == MsgAnswer::Ok) {
        // A failed restart has shown the exchange's message, if any, and released the port;
        // the data stay "changed".
        if (RestartController() != 0)
            return;
        m_prompt.MsgBox(ResText(220));
    }
    m_screen.setDataChanged(false);
    m_link.ReleasePort();
}
