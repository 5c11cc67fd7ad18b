#pragma once

#include <QString>
#include <optional>

// Numbers as the editing fields hold them: the leading decimal number of the text (leading blanks
// skipped, no number gives 0), rounded to a whole number with halves to the even neighbour.
namespace FieldNumber {

// The whole-number value of a field's text, without any limit of type.
double wholeValue(const QString &text);

// The value stored in a 16-bit or 32-bit item; no value when it does not fit the type.
std::optional<qint16> take16(const QString &text);
std::optional<qint32> take32(const QString &text);

// The check a field makes when it loses the focus: true when the text holds a value outside
// low..high and must be emptied. An empty text is never refused.
bool refusedOnFocusLoss(const QString &text, int low, int high);

} // namespace FieldNumber
