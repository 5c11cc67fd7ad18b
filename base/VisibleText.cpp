#include "base/VisibleText.h"

#include <algorithm>

namespace {

bool hidden(QChar c) {
    const QChar::Category category = c.category();
    return category == QChar::Other_Control || category == QChar::Other_Format ||
           category == QChar::Separator_Line || category == QChar::Separator_Paragraph;
}

// The text with the hidden characters shown by their escapes, but for line breaks and tabs when
// they are kept.
QString escaped(const QString &text, bool keepBreaks) {
    const auto kept = [keepBreaks](QChar c) {
        return !hidden(c) || (keepBreaks && (c == u'\n' || c == u'\t'));
    };
    if (std::all_of(text.begin(), text.end(), kept))
        return text;
    QString shown;
    shown.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (kept(c))
            shown += c;
        else if (c.unicode() < 0x100)
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            shown += QStringLiteral("\\u{%1}").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    return shown;
}

} // namespace

QString VisibleText::of(const QString &text) {
    return escaped(text, true);
}

QString VisibleText::inLine(const QString &text) {
    return escaped(text, false);
}

bool VisibleText::hasControl(const QString &text) {
    return std::any_of(text.begin(), text.end(), hidden);
}
