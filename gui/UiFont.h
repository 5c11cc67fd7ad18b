#pragma once

#include <QFont>
#include <QString>

// The one font family of every window: IPA P Gothic stands in for the Windows UI Gothic, so that
// the half-width katakana and full-width texts look as designed on every desktop.
inline QString uiFontFamily() {
    return QStringLiteral("IPAPGothic");
}

inline QFont uiFont(int pointSize = 9) {
    return QFont(uiFontFamily(), pointSize);
}
