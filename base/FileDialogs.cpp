#include "base/FileDialogs.h"

QString FileDialogs::ShowOpen(const Options &options) {
    return remember(options, chooseOpen(options));
}

QString FileDialogs::ShowSave(const Options &options) {
    return remember(options, chooseSave(options));
}

QString FileDialogs::remember(const Options &options, const QString &chosen) {
    m_last = options;
    if (!chosen.isEmpty())
        m_last.fileName = chosen;
    return chosen;
}

QStringList FileDialogs::qtNameFilters(const QString &filter) {
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString &description = parts[i];
        if (description.isEmpty() && parts[i + 1].isEmpty())
            continue;
        QStringList patterns;
        for (const QString &p : parts[i + 1].split(u';', Qt::SkipEmptyParts)) {
            const QString pattern =
                p.trimmed() == QLatin1String("*.*") ? QStringLiteral("*") : p.trimmed();
            patterns.append(pattern);
            if (pattern.toUpper() != pattern)
                patterns.append(pattern.toUpper());
        }
        out.append(description + QStringLiteral(" (") + patterns.join(u' ') + u')');
    }
    return out;
}
