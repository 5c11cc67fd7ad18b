// The simulator's end of the line where there are no pseudo terminals (Windows): a TCP server on
// the loopback address; the program reaches it as the network line devicePath() names
// ("tcp://127.0.0.1:50123"), one client at a time, as a serial line has one program at a time.
#include "sim/ControllerSimulator.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

struct ControllerSimulator::End {
    QTcpServer server;
    QTcpSocket *client = nullptr;
};

bool ControllerSimulator::openEnd() {
    m_end = new End;
    if (!m_end->server.listen(QHostAddress::LocalHost)) {
        m_error = m_end->server.errorString();
        return false;
    }
    m_path = QStringLiteral("tcp://127.0.0.1:%1").arg(m_end->server.serverPort());
    connect(&m_end->server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *next = m_end->server.nextPendingConnection()) {
            // A program that opens the port again replaces the one before it, as a closed port
            // leaves the line to the next.
            if (m_end->client) {
                m_end->client->disconnect(this);
                m_end->client->deleteLater();
            }
            m_end->client = next;
            m_input.clear();
            connect(next, &QTcpSocket::readyRead, this, [this, next] {
                const QByteArray bytes = next->readAll();
                if (next == m_end->client)
                    takeInput(bytes.constData(), bytes.size());
            });
        }
    });
    return true;
}

void ControllerSimulator::closeEnd() {
    if (!m_end)
        return;
    // The line is also dropped from within the client's own readyRead: the program sees the
    // connection end at once, the socket itself goes once that signal is over.
    m_end->server.close();
    if (QTcpSocket *client = m_end->client) {
        client->disconnect(this);
        client->abort();
        client->setParent(nullptr);
        client->deleteLater();
    }
    delete m_end;
    m_end = nullptr;
}

void ControllerSimulator::writeOut(const QByteArray &bytes) {
    if (m_end && m_end->client)
        m_end->client->write(bytes);
}
