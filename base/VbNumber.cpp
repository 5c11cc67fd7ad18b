#include "base/VbNumber.h"

#include <cmath>
#include <limits>

namespace VbNumber {

double roundHalfEven(double value) {
    return std::nearbyint(value); // default rounding mode is to nearest, ties to even
}

namespace {

std::optional<double> wholeTextValue(const QString &text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    for (QChar c : t) {
        if (!(c.isDigit() && c.unicode() < 128) && c != u'.' && c != u'-' && c != u'+')
            return std::nullopt;
    }
    bool ok = false;
    const double v = t.toDouble(&ok); // QString::toDouble always uses the C locale
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return roundHalfEven(v);
}

template <typename T> std::optional<T> toInt(const QString &text) {
    const auto v = wholeTextValue(text);
    if (!v || *v < std::numeric_limits<T>::min() || *v > std::numeric_limits<T>::max())
        return std::nullopt;
    return static_cast<T>(*v);
}

} // namespace

std::optional<qint16> toInt16(const QString &text) {
    return toInt<qint16>(text);
}

std::optional<qint32> toInt32(const QString &text) {
    return toInt<qint32>(text);
}

double leadingValue(const QString &text) {
    int i = 0;
    const int n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    const int start = i;
    if (i < n && (text[i] == u'-' || text[i] == u'+'))
        ++i;
    bool digits = false;
    while (i < n && text[i] >= u'0' && text[i] <= u'9') {
        ++i;
        digits = true;
    }
    if (i < n && text[i] == u'.') {
        ++i;
        while (i < n && text[i] >= u'0' && text[i] <= u'9') {
            ++i;
            digits = true;
        }
    }
    if (!digits)
        return 0.0;
    bool ok = false;
    const double v = text.mid(start, i - start).toDouble(&ok);
    // A number too large for a double comes back as infinity: keep it, so that callers see it does
    // not fit their type rather than a 0.
    return ok || std::isinf(v) ? v : 0.0;
}

} // namespace VbNumber
