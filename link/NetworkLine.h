#pragma once

#include "link/NetAddress.h"

#include <QByteArray>
#include <QIODevice>
#include <QTcpSocket>

#include <array>

// A network line to a serial device server, read and written like the serial port: what comes
// out of it and goes into it are exactly the controller's bytes. Over rfc2217:// it speaks Telnet
// (0xFF doubled, option negotiation, CR NUL where the server is not in binary mode) and sets the
// server's port to 9600 baud, 8 data bits, no parity, 1 stop bit, no flow control through the
// COM-port option, checking each answer; over tcp:// the bytes go as they are and the server's own
// port settings apply. Opening waits in an event loop, so the window keeps running meanwhile.
class NetworkLine : public QIODevice {
    Q_OBJECT
public:
    // How long opening may take, the connection and the line settings together.
    static constexpr int ConnectTimeoutMs = 4000;

    enum class Failure {
        None,
        BadAddress,
        Refused,
        HostNotFound,
        NoAnswer,
        NoComPortOption,
        SettingsRefused,
        Closed,
        Other
    };

    explicit NetworkLine(QObject *parent = nullptr);
    ~NetworkLine() override;

    // Connects and sets the line up; true when the line is open. On false, failure() and
    // failureDetail() say why and the line is closed.
    bool openLine(const NetAddress &address, int timeoutMs = ConnectTimeoutMs);
    Failure failure() const { return m_failure; }
    // Refused settings: which ones, as asked and as answered; Other: the socket's own words.
    const QString &failureDetail() const { return m_detail; }
    const NetAddress &address() const { return m_address; }
    // Whether the server sends (in) and takes (out) bytes without CR NUL.
    bool binaryIn() const { return m_him[Binary] == Yes; }
    bool binaryOut() const { return m_us[Binary] == Yes; }

    void close() override;
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;
    qint64 bytesToWrite() const override;
    bool waitForReadyRead(int msecs) override;
    bool waitForBytesWritten(int msecs) override;

    // Telnet commands and options in use, for the line and for tests that play the server.
    enum : unsigned char {
        Se = 240,
        Sb = 250,
        Will = 251,
        Wont = 252,
        Do = 253,
        Dont = 254,
        Iac = 255,
        Binary = 0,
        SuppressGoAhead = 3,
        ComPort = 44,
        SetBaudRate = 1,
        SetDataSize = 2,
        SetParity = 3,
        SetStopSize = 4,
        SetControl = 5,
        ServerReplyOffset = 100
    };

signals:
    // The open line went away: the server closed the connection or the network failed.
    void lineLost();

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    enum Side : unsigned char { No, WantYes, Yes };

    void onSocketReadable();
    void onSocketGone();
    void decode(const QByteArray &bytes);
    void onCommand(unsigned char command, unsigned char option);
    void onSubnegotiation(const QByteArray &sub);
    void sendCommand(unsigned char command, unsigned char option);
    void sendComPortSettings();
    bool negotiateComPort(int remainingMs);
    void fail(Failure failure, const QString &detail = QString());

    QTcpSocket m_socket;
    NetAddress m_address;
    Failure m_failure = Failure::None;
    QString m_detail;
    QByteArray m_in; // the controller's bytes, decoded, not yet read
    bool m_open = false;
    bool m_closing = false;

    // Telnet receive state.
    enum class Rx { Data, Iac, Option, Sub, SubIac };
    Rx m_rx = Rx::Data;
    unsigned char m_rxCommand = 0;
    bool m_afterCr = false;
    QByteArray m_sub;
    std::array<Side, 256> m_us{};  // options on our side (DO/DONT from the server)
    std::array<Side, 256> m_him{}; // options on the server's side (WILL/WONT)
    // COM-port settings: the five answers awaited, and what each came back as.
    int m_settingsAnswered = 0;
    bool m_settingsSent = false;
};
