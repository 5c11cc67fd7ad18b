#pragma once

#include "link/TelnetCodec.h"

#include <QDateTime>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

// A serial device server played by the test, on the loopback address: Telnet with the COM-port
// option (answering as the script says) or a plain byte pipe. It records the data bytes it
// received, Telnet framing taken off, and can send data, stay silent, hang up or flood the line.
class FakeLineServer : public QObject {
public:
    struct Script {
        bool telnet = true;
        bool comPort = true;          // DO COM-PORT-OPTION, else DONT
        bool binary = true;           // agrees to BINARY both ways, else refuses
        quint32 baudAnswer = 0;       // the baud rate answered (0: as asked) ...
        int baudWidth = 4;            // ... in this many bytes
        bool silent = false;          // accepts and never answers anything
        QByteArray afterSetup = {};   // sent once the line is set up (raw bytes, framing included)
        bool hangUpOnData = false;    // closes the connection on the first data received
        unsigned char unanswered = 0; // a line setting answered as SET-BAUDRATE instead
        // Once the first data has come: answerFirst once, then flood again and again until the
        // client goes (raw bytes, framing included; none: no flood).
        QByteArray answerFirst = {};
        QByteArray flood = {};
    };

    explicit FakeLineServer(Script script, const QHostAddress &on = QHostAddress::LocalHost)
        : m_script(std::move(script)) {
        m_server.listen(on, 0);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            m_client = m_server.nextPendingConnection();
            m_connectedAt = QDateTime::currentMSecsSinceEpoch();
            connect(m_client, &QTcpSocket::readyRead, this, [this] { onReadable(); });
            if (!m_script.telnet && !m_script.afterSetup.isEmpty())
                m_client->write(m_script.afterSetup);
        });
        // As fast as the connection takes it, without filling this side's memory either.
        connect(&m_flooding, &QTimer::timeout, this, [this] {
            if (!m_client || m_client->state() != QAbstractSocket::ConnectedState)
                m_flooding.stop();
            else if (m_client->bytesToWrite() < 256 * 1024)
                m_client->write(m_script.flood.repeated(16 * 1024 / m_script.flood.size() + 1));
        });
    }

    quint16 port() const { return m_server.serverPort(); }
    QString url(const QString &host = QStringLiteral("127.0.0.1")) const {
        const QString h = host.contains(u':') ? QLatin1Char('[') + host + QLatin1Char(']') : host;
        return (m_script.telnet ? QStringLiteral("rfc2217://") : QStringLiteral("tcp://")) + h +
               QLatin1Char(':') + QString::number(port());
    }
    // When the client came (ms since the epoch), 0 before.
    qint64 connectedAt() const { return m_connectedAt; }
    // The data bytes received, framing taken off.
    const QByteArray &data() const { return m_data; }
    // Every byte received as it came.
    const QByteArray &raw() const { return m_raw; }
    void send(const QByteArray &bytes) {
        if (m_client)
            m_client->write(bytes);
    }
    // Sends bytes again and again from now on.
    void startFlood(const QByteArray &bytes) {
        m_script.flood = bytes;
        m_flooding.start(0);
    }

private:
    using L = TelnetCodec;

    void reply(unsigned char command, unsigned char option) {
        const char bytes[] = {char(L::Iac), char(command), char(option)};
        m_client->write(bytes, 3);
    }

    void onReadable() {
        const QByteArray bytes = m_client->readAll();
        m_raw += bytes;
        if (m_script.silent)
            return;
        if (!m_script.telnet) {
            m_data += bytes;
        } else {
            m_pending += bytes;
            parse();
        }
        if (m_script.hangUpOnData && !m_data.isEmpty())
            m_client->disconnectFromHost();
        if (!m_answered && !m_data.isEmpty()) {
            m_answered = true;
            m_client->write(m_script.answerFirst);
            if (!m_script.flood.isEmpty())
                startFlood(m_script.flood);
        }
    }

    // Takes complete Telnet commands and data off the front of what came.
    void parse() {
        while (!m_pending.isEmpty()) {
            const auto b = uchar(m_pending.at(0));
            if (b != L::Iac) {
                m_data += m_pending.at(0);
                m_pending.remove(0, 1);
                continue;
            }
            if (m_pending.size() < 2)
                return;
            const auto c = uchar(m_pending.at(1));
            if (c == L::Iac) {
                m_data += char(L::Iac);
                m_pending.remove(0, 2);
            } else if (c == L::Will || c == L::Do || c == L::Wont || c == L::Dont) {
                if (m_pending.size() < 3)
                    return;
                onOption(c, uchar(m_pending.at(2)));
                m_pending.remove(0, 3);
            } else if (c == L::Sb) {
                const qsizetype end = m_pending.indexOf(QByteArray("\xff\xf0", 2));
                if (end < 0)
                    return;
                onSub(m_pending.mid(2, end - 2));
                m_pending.remove(0, end + 2);
            } else {
                m_pending.remove(0, 2);
            }
        }
    }

    void onOption(unsigned char command, unsigned char option) {
        if (option == L::ComPort && command == L::Will)
            reply(m_script.comPort ? L::Do : L::Dont, option);
        else if (option == L::Binary && command == L::Will)
            reply(m_script.binary ? L::Do : L::Dont, option);
        else if (option == L::Binary && command == L::Do)
            reply(m_script.binary ? L::Will : L::Wont, option);
    }

    void onSub(QByteArray sub) {
        if (sub.size() < 3 || uchar(sub.at(0)) != L::ComPort)
            return;
        sub.replace(QByteArray("\xff\xff", 2), QByteArray("\xff", 1));
        auto command = uchar(sub.at(1));
        QByteArray answer = sub.mid(2);
        if (command == m_script.unanswered) {
            command = L::SetBaudRate;
            answer = QByteArray("\0\0\x25\x80", 4);
        }
        if (command == L::SetBaudRate && m_script.baudAnswer != 0) {
            const quint32 v = m_script.baudAnswer;
            answer.clear();
            for (int shift = 8 * (m_script.baudWidth - 1); shift >= 0; shift -= 8)
                answer += char((v >> shift) & 0xff);
        }
        QByteArray out("\xff\xfa", 2);
        out += char(L::ComPort);
        out += char(command + L::ServerReplyOffset);
        out += answer;
        out += QByteArray("\xff\xf0", 2);
        m_client->write(out);
        if (command == L::SetControl && !m_script.afterSetup.isEmpty())
            m_client->write(m_script.afterSetup);
    }

    Script m_script;
    QTcpServer m_server;
    QTcpSocket *m_client = nullptr;
    QByteArray m_pending;
    QByteArray m_data;
    QByteArray m_raw;
    QTimer m_flooding;
    bool m_answered = false;
    qint64 m_connectedAt = 0;
};
