#include "base/StoredSettings.h"

#include "base/ResText.h"
#include "base/VbNumber.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString groupKey(const QString &key) {
    return QStringLiteral("Settings/") + key;
}

} // namespace

QString StoredSettings::filePath() {
    const QString app = QString::fromLatin1(AppName);
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' + app +
           u'/' + app + QStringLiteral(".conf");
}

QSettings StoredSettings::store() {
    const QString path = filePath();
    if (!QFileInfo::exists(path)) {
        const QString earlier =
            QFileInfo(path).path() + u'/' + QString::fromLatin1(AppName) + QStringLiteral(".ini");
        if (QFileInfo::exists(earlier))
            QFile::copy(earlier, path);
    }
    return QSettings(path, QSettings::IniFormat);
}

QString StoredSettings::readText(const QString &key, const QString &fallback) {
    return store().value(groupKey(key), fallback).toString();
}

void StoredSettings::writeText(const QString &key, const QString &value) {
    QSettings s = store();
    s.setValue(groupKey(key), value);
    s.sync();
}

void StoredSettings::ReadLanguage() {
    if (auto v = VbNumber::toInt16(readText(QStringLiteral("Language"), QStringLiteral("1"))))
        LanguageNo = *v;
    LangOffset = LanguageNo == 1 ? 0 : StringTable::EnglishOffset;
}

void StoredSettings::ReadPortNo() {
    if (auto v = VbNumber::toInt16(readText(QStringLiteral("PortNo"), QStringLiteral("1"))))
        PortNo = *v;
}

void StoredSettings::ReadPortOccupy() {
    if (auto v = VbNumber::toInt16(readText(QStringLiteral("PortOccupy"), QStringLiteral("1"))))
        OccupyPort = *v != 0;
}

void StoredSettings::SavePortNo() const {
    writeText(QStringLiteral("PortNo"), QString::number(PortNo));
}

void StoredSettings::SavePortOccupy() const {
    writeText(QStringLiteral("PortOccupy"), OccupyPort ? QStringLiteral("1") : QStringLiteral("0"));
}
