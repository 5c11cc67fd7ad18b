#pragma once

#include <QString>

// A port that is a network line to a serial device server rather than a device path:
// "rfc2217://HOST:PORT" (Telnet with the COM-port option) or "tcp://HOST:PORT" (a plain byte
// pipe), each also over TLS: "rfc2217+tls://HOST:PORT", "tcp+tls://HOST:PORT". An IPv6 literal
// goes in brackets: "tcp://[::1]:4001".
struct NetAddress {
    enum class Kind { None, Rfc2217, Tcp };

    Kind kind = Kind::None;
    QString host; // without brackets
    quint16 port = 0;
    bool tls = false; // the connection is encrypted and the server's certificate checked

    bool isValid() const { return kind != Kind::None; }
    // "host:port", an IPv6 host in brackets, for the user to read.
    QString hostPort() const;
    // The address written back as a URL.
    QString url() const;

    // Whether the text names a network line at all (its scheme), valid or not: such a port is
    // never taken for a file.
    static bool looksLikeUrl(const QString &text);
    // The address in text; Kind::None when it is no valid network address.
    static NetAddress parse(const QString &text);
};
