#include "data/KeyRule.h"

KeyVerdict judgeKey(int code, int textLength, bool hasSelection, const KeyRule &rule) {
    if (code == KeyCode::Enter)
        return KeyVerdict::MoveOn;
    const bool full = textLength >= rule.limit && !hasSelection;
    if (full && code != KeyCode::Backspace)
        return KeyVerdict::Drop;
    if (code < '0' && code != KeyCode::Backspace && code != KeyCode::Tab)
        return KeyVerdict::Drop;
    if (code > '9')
        return KeyVerdict::Drop;
    return KeyVerdict::Pass;
}
