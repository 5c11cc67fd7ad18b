#include "sim/Ser2NetRunner.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QHostAddress>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTimer>

namespace {

const QHostAddress Loopback(QHostAddress::LocalHost);

// A port nobody listens on now, as the system hands them out.
quint16 freePort() {
    QTcpServer probe;
    if (!probe.listen(Loopback, 0))
        return 0;
    return probe.serverPort();
}

// Whether something listens on the port: it cannot be bound again.
bool listening(quint16 port) {
    QTcpServer probe;
    if (probe.listen(Loopback, port))
        return false;
    return probe.serverError() == QAbstractSocket::AddressInUseError;
}

} // namespace

Ser2NetRunner::~Ser2NetRunner() {
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }
}

QString Ser2NetRunner::program() {
    QString found = QStandardPaths::findExecutable(QStringLiteral("ser2net"));
    if (found.isEmpty())
        found = QStandardPaths::findExecutable(
            QStringLiteral("ser2net"), {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
    return found;
}

QString Ser2NetRunner::add(const QString &device, NetAddress::Kind kind, bool noDelay) {
    quint16 port = 0;
    // Two accepters of this run must not draw the same port.
    for (int attempt = 0; attempt < 20 && port == 0; ++attempt) {
        port = freePort();
        for (const Accepter &a : m_accepters) {
            if (a.port == port)
                port = 0;
        }
    }
    m_accepters.append({device, kind, port, noDelay, {}});
    NetAddress address;
    address.kind = kind;
    address.host = QStringLiteral("127.0.0.1");
    address.port = port;
    return address.url();
}

QString Ser2NetRunner::addTls(const QString &device, NetAddress::Kind kind, const Tls &tls) {
    NetAddress address = NetAddress::parse(add(device, kind));
    m_accepters.last().tls = tls;
    address.tls = true;
    return address.url();
}

QString Ser2NetRunner::configText() const {
    QString text;
    int n = 0;
    for (const Accepter &a : m_accepters) {
        text += QStringLiteral("connection: &line%1\n").arg(n++);
        // nodelay (unless left out): a reply's pieces go out at once instead of waiting for the
        // acknowledgement of the piece before (up to 40 ms an exchange otherwise).
        const QString ssl =
            a.tls.certFile.isEmpty()
                ? QString()
                : QStringLiteral("ssl(key=%1,cert=%2%3),")
                      .arg(a.tls.keyFile, a.tls.certFile,
                           a.tls.clientAuth ? QStringLiteral(",clientauth") : QString());
        text += QStringLiteral("  accepter: %1%2tcp%3,127.0.0.1,%4\n")
                    .arg(a.kind == NetAddress::Kind::Rfc2217 ? QStringLiteral("telnet(rfc2217),")
                                                             : QString(),
                         ssl, a.noDelay ? QStringLiteral("(nodelay)") : QString())
                    .arg(a.port);
        // "local": a pty has no modem lines to watch.
        text += QStringLiteral("  connector: serialdev,%1,9600n81,local\n").arg(a.device);
        // A reply goes on as soon as its line end is in, not after ser2net's wait for more
        // characters.
        text += QStringLiteral("  options:\n    kickolduser: true\n    sendon: '\\r\\n'\n");
        if (!a.tls.authDir.isEmpty())
            text += QStringLiteral("    authdir: %1\n").arg(a.tls.authDir);
    }
    return text;
}

bool Ser2NetRunner::start() {
    const QString ser2net = program();
    if (ser2net.isEmpty()) {
        m_error = QStringLiteral("ser2net is not installed (scripts/setup.sh installs it)");
        return false;
    }
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("no temporary folder for the ser2net configuration");
        return false;
    }
    for (const Accepter &a : m_accepters) {
        if (a.port == 0) {
            m_error = QStringLiteral("no free port on 127.0.0.1");
            return false;
        }
    }
    QFile config(m_dir.filePath(QStringLiteral("ser2net.yaml")));
    if (!config.open(QIODevice::WriteOnly) || config.write(configText().toUtf8()) < 0) {
        m_error = QStringLiteral("cannot write %1").arg(config.fileName());
        return false;
    }
    config.close();
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    // In the foreground, without lock files, its pid file in our folder.
    m_process.start(ser2net, {QStringLiteral("-n"), QStringLiteral("-u"), QStringLiteral("-c"),
                              config.fileName(), QStringLiteral("-P"),
                              m_dir.filePath(QStringLiteral("ser2net.pid"))});
    if (!m_process.waitForStarted()) {
        m_error = QStringLiteral("ser2net did not start: %1").arg(m_process.errorString());
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        bool all = true;
        for (const Accepter &a : m_accepters)
            all = all && listening(a.port);
        if (all)
            return true;
        if (m_process.state() == QProcess::NotRunning || clock.elapsed() > 10000) {
            m_error = QStringLiteral("ser2net did not listen: %1")
                          .arg(QString::fromLocal8Bit(m_process.readAll()));
            return false;
        }
        // The simulators are served by this thread meanwhile.
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
}
