#pragma once

#include <QByteArray>
#include <QString>

class StoredSettings;

// How a network line over TLS (rfc2217+tls://, tcp+tls://) checks the server and shows itself:
// the CA the server's certificate must chain to (the system's trust store when empty), or a
// pinned SHA-256 fingerprint of the server's certificate in its place, and the operator's
// certificate and key for a server that asks for one. File names only: the key itself is read
// when a line opens and goes nowhere else.
struct TlsSettings {
    QString caFile;
    QString pin; // hex, colons and case as the user wrote them
    QString certFile;
    QString keyFile;

    // The settings' files and pin.
    static TlsSettings from(const StoredSettings &settings);

    // The fingerprint's 32 bytes; empty when pin is empty or not 64 hex digits.
    QByteArray pinBytes() const;
    // Whether pin is empty or a fingerprint.
    bool pinValid() const { return pin.isEmpty() || !pinBytes().isEmpty(); }
    // Why the key file is not private, in words: users other than its owner may read it (POSIX:
    // its group or others; Windows: anyone its access list lets read it but the owner, the
    // system and administrators). Empty when only its owner may.
    static QString keyExposure(const QString &keyFile);

    // What stops these settings from being used, in words; empty when nothing does: a pin that is
    // no fingerprint, a certificate without its key or a key without its certificate, a key
    // others can read.
    QString fault() const;
    // Puts them into settings (not stored yet).
    void applyTo(StoredSettings &settings) const;

    bool operator==(const TlsSettings &other) const = default;
};
