#include "base/VisibleText.h"

#include <algorithm>

namespace {

bool hidden(QChar c) {
    const QChar::Category category = c.category();
    return category == QChar::Other_Control || category == QChar::Other_Format ||
           category == QChar::Separator_Line || category == QChar::Separator_Paragraph;
}

} // namespace

QString VisibleText::of(const QString &text) {
    if (std::none_of(text.begin(), text.end(),
                     [](QChar c) { return hidden(c) && c != u'\n' && c != u'\t'; }))
        return text;
    QString shown;
    shown.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (!hidden(c) || c == u'\n' || c == u'\t')
            shown += c;
        else if (c.unicode() < 0x100)
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            shown += QStringLiteral("\\u{%1}").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    return shown;
}

bool VisibleText::hasControl(const QString &text) {
    return std::any_of(text.begin(), text.end(), hidden);
}
