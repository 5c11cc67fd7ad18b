#pragma once

#include <QString>
#include <optional>

// Conversions between text and numbers the way the program has always read them.
namespace VbNumber {

// Whole text as a 16-bit integer: blanks around it allowed, a decimal point rounds half to even.
// Anything else (letters, empty, out of range) gives no value.
std::optional<qint16> toInt16(const QString &text);

// Same rule for 32-bit integers.
std::optional<qint32> toInt32(const QString &text);

// The leading number of a text, as a double; text that does not start with a number gives 0.
// Blanks before the number are skipped. "12abc" -> 12, "2.5" -> 2.5, "abc" -> 0.
double leadingValue(const QString &text);

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double value);

} // namespace VbNumber
