#pragma once

// What a typed character does in a numeric editing field: only the digits 0 to 9 are inserted,
// Backspace and Tab always pass, Enter moves on to the next field, and typing never makes the
// text longer than the field's limit. A digit typed over selected text replaces it.
struct KeyRule {
    int limit = 3;
};

enum class KeyVerdict { Pass, Drop, MoveOn };

namespace KeyCode {
constexpr int Backspace = 8;
constexpr int Tab = 9;
constexpr int Enter = 13;
} // namespace KeyCode

// code: the character code of the key; textLength and hasSelection: the field before the key.
KeyVerdict judgeKey(int code, int textLength, bool hasSelection, const KeyRule &rule);
