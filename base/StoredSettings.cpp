#include "base/StoredSettings.h"

#include "base/ResText.h"
#include "base/VbNumber.h"

namespace {

QString groupKey(const QString &key) {
    return QStringLiteral("Settings/") + key;
}

} // namespace

QString StoredSettings::readText(const QString &key, const QString &fallback) {
    return store().value(groupKey(key), fallback).toString();
}

void StoredSettings::writeText(const QString &key, const QString &value) {
    QSettings s = store();
    s.setValue(groupKey(key), value);
    s.sync();
}

void StoredSettings::ReadLanguage() {
    if (!languageOption.isEmpty())
        LanguageNo = languageOption == QLatin1String("ja") ? 1 : 2;
    else if (auto v = VbNumber::toInt16(readText(QStringLiteral("Language"), QStringLiteral("1"))))
        LanguageNo = *v;
    LangOffset = LanguageNo == 1 ? 0 : StringTable::EnglishOffset;
}

void StoredSettings::ReadLanguageOrLocale() {
    if (!languageOption.isEmpty() || store().contains(groupKey(QStringLiteral("Language")))) {
        ReadLanguage();
        return;
    }
    LanguageNo = localeIsJapanese() ? 1 : 2;
    LangOffset = LanguageNo == 1 ? 0 : StringTable::EnglishOffset;
}

void StoredSettings::SaveLanguage(bool japanese) {
    writeText(QStringLiteral("Language"), japanese ? QStringLiteral("1") : QStringLiteral("2"));
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

void StoredSettings::ReadPreviewWrite() {
    if (auto v = VbNumber::toInt16(readText(QStringLiteral("WritePreview"), QStringLiteral("0"))))
        PreviewWrite = *v == 1;
}

void StoredSettings::SavePreviewWrite() const {
    writeText(QStringLiteral("WritePreview"),
              PreviewWrite ? QStringLiteral("1") : QStringLiteral("0"));
}

void StoredSettings::ReadTls() {
    TlsCaFile = readText(QStringLiteral("TlsCaFile"), {});
    TlsPin = readText(QStringLiteral("TlsPin"), {});
    TlsCertFile = readText(QStringLiteral("TlsCertFile"), {});
    TlsKeyFile = readText(QStringLiteral("TlsKeyFile"), {});
}

void StoredSettings::SaveTls() const {
    writeText(QStringLiteral("TlsCaFile"), TlsCaFile);
    writeText(QStringLiteral("TlsPin"), TlsPin);
    writeText(QStringLiteral("TlsCertFile"), TlsCertFile);
    writeText(QStringLiteral("TlsKeyFile"), TlsKeyFile);
}

void StoredSettings::SavePortNo() const {
    writeText(QStringLiteral("PortNo"), QString::number(PortNo));
}

void StoredSettings::SavePortOccupy() const {
    writeText(QStringLiteral("PortOccupy"), OccupyPort ? QStringLiteral("1") : QStringLiteral("0"));
}
