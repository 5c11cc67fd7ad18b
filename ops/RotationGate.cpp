#include "ops/RotationGate.h"

#include "base/ResText.h"
#include "base/UserPrompt.h"

bool AskRotationChange(UserPrompt &prompt) {
    // The warning alone leaves Yes and No without a question; 208 asks it.
    const QString text = ResText(206) + QStringLiteral("\r\n") + ResText(207) +
                         QStringLiteral("\r\n") + ResText(208);
    return prompt.MsgBox(text, MsgButtons::YesNo, MsgIcon::Critical, 206) == MsgAnswer::Yes;
}
