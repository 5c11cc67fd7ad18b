#include "link/TlsSettings.h"

#include "base/ResText.h"
#include "base/StoredSettings.h"

TlsSettings TlsSettings::from(const StoredSettings &settings) {
    return {settings.TlsCaFile, settings.TlsPin, settings.TlsCertFile, settings.TlsKeyFile};
}

QString TlsSettings::fault() const {
    if (!pinValid())
        return ResText(1670);
    if (certFile.isEmpty() != keyFile.isEmpty())
        return ResText(1673);
    return keyFile.isEmpty() ? QString() : keyExposure(keyFile);
}

void TlsSettings::applyTo(StoredSettings &settings) const {
    settings.TlsCaFile = caFile;
    settings.TlsPin = pin;
    settings.TlsCertFile = certFile;
    settings.TlsKeyFile = keyFile;
}

QByteArray TlsSettings::pinBytes() const {
    // "AB:CD:..." as `openssl x509 -fingerprint -sha256` prints it, or the digits alone.
    QString digits = pin.trimmed();
    if (digits.startsWith(QLatin1String("sha256"), Qt::CaseInsensitive)) {
        const qsizetype equals = digits.indexOf(u'=');
        digits = equals < 0 ? digits.mid(6) : digits.mid(equals + 1);
    }
    digits.remove(u':');
    if (digits.size() != 64)
        return {};
    for (const QChar c : digits) {
        if (!((c >= u'0' && c <= u'9') || (c.toLower() >= u'a' && c.toLower() <= u'f')))
            return {};
    }
    return QByteArray::fromHex(digits.toLatin1());
}
