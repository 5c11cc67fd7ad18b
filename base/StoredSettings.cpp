#include "base/StoredSettings.h"

#include "base/ResText.h"
#include "base/VbNumber.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

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

bool StoredSettings::fileUsable() {
    const QFileInfo file(filePath());
    return !file.exists() || file.isFile();
}

QSettings StoredSettings::store() {
    const QString path = filePath();
    if (!fileUsable()) {
        // A FIFO or a device in the file's place would block every read or take every write: the
        // run goes on with the defaults, kept in a file of its own that goes with the process.
        static QTemporaryDir scratch;
        return QSettings(scratch.filePath(QStringLiteral("defaults.conf")), QSettings::IniFormat);
    }
    if (!QFileInfo::exists(path)) {
        const QString earlier =
            QFileInfo(path).path() + u'/' + QString::fromLatin1(AppName) + QStringLiteral(".ini");
        if (QFileInfo(earlier).isFile())
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

void StoredSettings::ReadLanguageOrLocale() {
    if (store().contains(groupKey(QStringLiteral("Language")))) {
        ReadLanguage();
        return;
    }
    LanguageNo = localeIsJapanese() ? 1 : 2;
    LangOffset = LanguageNo == 1 ? 0 : StringTable::EnglishOffset;
}

bool StoredSettings::localeIsJapanese() {
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QByteArray value = qgetenv(name);
        if (!value.isEmpty())
            return value.startsWith("ja");
    }
    return false;
}

void StoredSettings::ReadPortNo() {
    if (auto v = VbNumber::toInt16(readText(QStringLiteral("PortNo"), QStringLiteral("1"))))
        PortNo = *v;
}

void StoredSettings::ReadPortOccupy() {
    if (auto v = VbNumber::toInt16(readText(QStringLiteral("PortOccupy"), QStringLiteral("1"))))
        OccupyPort = *v != 0;
}

void StoredSettings::ReadKeepJournal() {
    if (auto v = VbNumber::toInt16(readText(QStringLiteral("Journal"), QStringLiteral("0"))))
        KeepJournal = *v == 1;
}

void StoredSettings::SaveKeepJournal() const {
    writeText(QStringLiteral("Journal"), KeepJournal ? QStringLiteral("1") : QStringLiteral("0"));
}

void StoredSettings::SavePortNo() const {
    writeText(QStringLiteral("PortNo"), QString::number(PortNo));
}

void StoredSettings::SavePortOccupy() const {
    writeText(QStringLiteral("PortOccupy"), OccupyPort ? QStringLiteral("1") : QStringLiteral("0"));
}
