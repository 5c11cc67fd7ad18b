// The preview of a write: the controller read first and each item the write will change shown,
// before the write's own question.
#include "data/ControllerTransfer.h"

#include "base/MainScreen.h"
#include "base/ResText.h"
#include "base/UserPrompt.h"
#include "data/QvData.h"
#include "data/QvItems.h"
#include "data/Verification.h"

OpResult ControllerTransfer::previewChanges() {
    // The read copy holds what the screen was last read from; the comparison needs its own.
    const QvData kept = m_copies.read;
    OpResult read = ReadBlocks();
    const QvData controller = m_copies.read;
    m_copies.read = kept;
    if (!read.isDone()) {
        // Refused because another exchange still waits: nothing to tell.
        if (read.status == OpResult::Status::Busy)
            return read;
        m_prompt.MsgBox(ResText(1824));
        return read.orText(ResText(1824));
    }
    // A journalled write needs no second read for its before-values.
    if (!m_givenBefore && m_journal && m_journal->keptForEveryWrite())
        m_givenBefore = controller;
    QStringList lines;
    for (const ItemDifference &d :
         Differences(m_copies.working, controller, m_screen.ParametersActive()))
        lines.append(ResText(1823).arg(ItemLabel(*d.item)).arg(d.read).arg(d.working));
    return m_prompt.confirmChanges(lines) ? OpResult::done() : OpResult::stopped();
}
