#include "data/FieldNumber.h"

#include "base/VbNumber.h"

#include <limits>

namespace FieldNumber {

namespace {

template <typename T> std::optional<T> take(const QString &text) {
    const double v = wholeValue(text);
    if (v < std::numeric_limits<T>::min() || v > std::numeric_limits<T>::max())
        return std::nullopt;
    return static_cast<T>(v);
}

} // namespace

double wholeValue(const QString &text) {
    return VbNumber::roundHalfEven(VbNumber::leadingValue(text));
}

std::optional<qint16> take16(const QString &text) {
    return take<qint16>(text);
}

std::optional<qint32> take32(const QString &text) {
    return take<qint32>(text);
}

bool refusedOnFocusLoss(const QString &text, int low, int high) {
    if (text.isEmpty())
        return false;
    const double v = wholeValue(text);
    return v < low || v > high;
}

} // namespace FieldNumber
