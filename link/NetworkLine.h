#pragma once

#include "link/Line.h"
#include "link/NetAddress.h"
#include "link/TelnetCodec.h"
#include "link/TlsSettings.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QSslCertificate>
#include <QSslError>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

// A network line to a serial device server, read and written like the serial port: what comes
// out of it and goes into it are exactly the controller's bytes. Over rfc2217:// it speaks Telnet
// (0xFF doubled, option negotiation, CR NUL where the server is not in binary mode) and sets the
// server's port to 9600 baud, 8 data bits, no parity, 1 stop bit, no flow control through the
// COM-port option, checking each answer; over tcp:// the bytes go as they are and the server's own
// port settings apply. Over rfc2217+tls:// and tcp+tls:// the same goes through TLS: nothing is
// sent before the server's certificate has passed (its CA, its name, or the pinned fingerprint).
// Opening waits in an event loop, so the window keeps running meanwhile;
// closing does not wait: the connection ends on its own, and only a new opening of the same line
// waits for it, if it has not ended by then.
class NetworkLine : public Line {
    Q_OBJECT
public:
    // How long opening may take, the connection and the line settings together.
    static constexpr int ConnectTimeoutMs = 4000;
    // The most the line holds for its reader, and the socket for the line: a server that sends
    // more than is read waits (the connection's own flow control) instead of filling memory.
    static constexpr qsizetype MaxPending = MaxHeld;
    // After the last line has left: the time the server is given to pass it on before the
    // connection may close (a short line at 9600 baud and a margin). Nothing says when it is
    // through.
    static constexpr int DrainMs = 150;
    // A server that checks the operator's certificate does so after the handshake and closes
    // the connection when it refuses it. Over rfc2217+tls:// its first Telnet bytes tell that it
    // took it; over tcp+tls:// nothing does, so the line waits this long, or as long as the
    // handshake took if that was longer, before it counts as open.
    static constexpr int AcceptSettleMs = 60;

    // How opening failed.
    enum class Failure {
        None,
        BadAddress, // no address of a network line
        Refused,    // nobody listens there
        HostNotFound,
        NoAnswer,        // not connected and set up within the time
        NoComPortOption, // the server does not take the COM-port option
        SettingsRefused, // it answered a line setting otherwise (failureDetail() says which)
        ServerClosed,    // the server closed the connection while it was set up
        Failed,          // the socket's own error (failureDetail() has its words)
        Tls, // TLS refused the connection or could not be set up (failureDetail() says why)
    };

    explicit NetworkLine(QObject *parent = nullptr);
    ~NetworkLine() override;

    // What the next TLS openings check and present.
    void setTls(const TlsSettings &tls) { m_tls = tls; }
    // How long the last TLS handshake took, from the connection to the checked certificate.
    qint64 handshakeMs() const { return m_handshakeMs; }

    // Connects and sets the line up; true when the line is open. On false, failure() and
    // failureDetail() say why and the line is closed.
    bool openLine(const NetAddress &address, int timeoutMs = ConnectTimeoutMs);
    // The line's open() for a URL.
    bool open(const QString &url) override;
    // The same without waiting: openFinished() tells the outcome; many lines may be opened at
    // once this way.
    void startOpen(const NetAddress &address, int timeoutMs = ConnectTimeoutMs);
    Failure failure() const { return m_failure; }
    // Refused settings: the setting, as asked and as answered (or not answered); Other: the
    // socket's own words.
    const QString &failureDetail() const { return m_detail; }
    const NetAddress &address() const { return m_address; }
    // Whether the server sends (in) and takes (out) bytes without CR NUL.
    bool binaryIn() const { return m_codec.binaryIn(); }
    bool binaryOut() const { return m_codec.binaryOut(); }

    void close() override;
    qint64 write(const QByteArray &bytes) override;
    qint64 bytesAvailable() const override { return m_in.size(); }
    QByteArray read(qint64 max) override;
    bool waitForReadyRead(int msecs) override;
    bool drain(int msecs) override;

signals:
    // An opening started by startOpen() ended, the line open (true) or not.
    void openFinished(bool open);

private:
    void onSocketReadable();
    void onSocketGone();
    // Takes what the socket holds, as much as the reader's share has room for.
    void pull();
    void writeRaw(const QByteArray &bytes);
    // Acknowledges what came at once rather than after the system's delay: a server that holds
    // back the rest of a reply until then would make every exchange wait for it.
    void acknowledgeNow();
    // Takes the opening one step further after any event; ends it when it is decided.
    void step();
    void onConnected();
    void failConnecting(bool timeIsUp);
    void negotiate(bool timeIsUp);
    void finishOpening();
    // Fails the opening when an answer to a line setting differs, or (at the end) is missing.
    bool settingsFailed(bool timeIsUp);
    void fail(Failure failure, const QString &detail = QString());

    // TLS (NetworkLineTls.cpp).
    // Sets the socket up for a TLS opening; false (with the failure) when the files will not do.
    bool prepareTls();
    // Whether the connection is ready for the line's own bytes: connected, and over TLS
    // encrypted with the certificate passed.
    bool transportReady() const;
    void onSslErrors(const QList<QSslError> &errors);
    void onEncrypted();
    // The failure of a TLS opening that did not become ready; false when it is none of TLS's.
    bool tlsFailed(bool timeIsUp);
    // Over tcp+tls://: whether the server has had its time to refuse the operator's certificate.
    bool acceptSettled() const;
    bool pinMatches() const;

    // The socket of this opening: a QSslSocket only for a TLS address, so that a program that
    // never opens one never loads the TLS backend (seconds under Wine's Schannel at each start).
    void useSocket(bool tls);
    QSslSocket *ssl() const { return qobject_cast<QSslSocket *>(m_socket.get()); }
    std::unique_ptr<QTcpSocket> m_socket;
    TlsSettings m_tls;
    // The CAs of m_tls.caFile, read at the opening.
    QList<QSslCertificate> m_cas;
    QElapsedTimer m_handshake;
    qint64 m_handshakeMs = -1;
    bool m_encrypted = false;
    bool m_gotData = false; // something came after the handshake
    // The socket's error during this opening (the socket keeps one from an earlier opening).
    QAbstractSocket::SocketError m_openingError = QAbstractSocket::UnknownSocketError;
    QTimer m_settle;
    NetAddress m_address;
    Failure m_failure = Failure::None;
    QString m_detail;
    QByteArray m_in; // the controller's bytes, decoded, not yet read
    bool m_closing = false;
    bool m_pullQueued = false;
    bool m_opening = false;
    bool m_connected = false;
    QTimer m_limit; // the time the opening may take
    TelnetCodec m_codec;
};
