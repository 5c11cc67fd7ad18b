#pragma once

#include "link/NetAddress.h"

#include <QList>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// ser2net serving simulated controllers (or any serial devices) on the loopback address only,
// for the tests and the benchmarks: each device gets an accepter of its own on a free port,
// Telnet with the COM-port option or plain TCP. The configuration is written for this run alone;
// the server stops when the object goes.
class Ser2NetRunner {
public:
    // An accepter over TLS: the server's certificate and key, and whether it asks for the
    // client's certificate and looks it up in authDir/USER/allowed_certs (USER the certificate's
    // common name).
    struct Tls {
        QString certFile;
        QString keyFile;
        bool clientAuth = false;
        QString authDir;
    };

    Ser2NetRunner() = default;
    ~Ser2NetRunner();
    Ser2NetRunner(const Ser2NetRunner &) = delete;
    Ser2NetRunner &operator=(const Ser2NetRunner &) = delete;

    // The ser2net program, empty when it is not installed.
    static QString program();

    // Puts device behind an accepter of this kind; returns the URL a client uses. Call before
    // start(). Without noDelay the accepter keeps ser2net's default: small pieces of a reply
    // wait for the acknowledgement of the piece before.
    QString add(const QString &device, NetAddress::Kind kind, bool noDelay = true);
    // The same over TLS.
    QString addTls(const QString &device, NetAddress::Kind kind, const Tls &tls);
    // Starts the server and waits (in the event loop) until every accepter listens. False with
    // error() saying why.
    bool start();
    const QString &error() const { return m_error; }
    // The configuration as written, for a failure's report.
    QString configText() const;

private:
    struct Accepter {
        QString device;
        NetAddress::Kind kind;
        quint16 port;
        bool noDelay;
        Tls tls;
    };
    QList<Accepter> m_accepters;
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_error;
};
