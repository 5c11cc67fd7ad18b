#include "print/ReportFonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace {

struct Substitute {
    const char *windowsName; // UTF-8
    const char *family;
};

// Mincho (serif) names first to IPA Mincho, Gothic (sans) names to IPA Gothic; the second family
// of each is the same font under its Japanese name, as some systems register it.
const Substitute Substitutes[] = {
    {"ＭＳ 明朝", "IPAMincho"},    {"MS 明朝", "IPAMincho"},          {"MS Mincho", "IPAMincho"},
    {"ＭＳ Ｐ明朝", "IPAPMincho"}, {"ＭＳ ゴシック", "IPAGothic"},    {"MS ゴシック", "IPAGothic"},
    {"MS Gothic", "IPAGothic"},    {"ＭＳ Ｐゴシック", "IPAPGothic"},
};

} // namespace

void installReportFontSubstitutes() {
    for (const Substitute &s : Substitutes) {
        const QString name = QString::fromUtf8(s.windowsName);
        const QString family = QLatin1String(s.family);
        if (!QFont::substitutes(name).contains(family))
            QFont::insertSubstitution(name, family);
    }
}

QString reportFamily(const QString &family) {
    if (QFontDatabase::hasFamily(family))
        return family;
    // Qt keeps substitutes in lower case; a printer's own fonts are chosen by their exact name.
    const QStringList known = QFontDatabase::families();
    for (const QString &substitute : QFont::substitutes(family)) {
        for (const QString &name : known) {
            if (name.compare(substitute, Qt::CaseInsensitive) == 0)
                return name;
        }
    }
    return family;
}
