// qvpc-cli on network lines over TLS: controllers' simulators behind ser2net's TLS accepters,
// with a CA and certificates made for the run. Through rfc2217+tls:// and tcp+tls:// the
// controller gets exactly the lines it gets over a pty; every refusal names what was wrong and
// lets nothing through to the controller.
#include "CliRunner.h"
#include "sim/ControllerSimulator.h"
#include "sim/Ser2NetCertificates.h"
#include "sim/Ser2NetRunner.h"
#include "support/TestEnvironment.h"
#include "transfer/TransferFixture.h"

#include <array>

namespace {

const QStringList English{QStringLiteral("--lang"), QStringLiteral("en")};

// The lines of the accepters, each in front of a simulator of its own.
enum Accepter {
    Pty,          // the simulator on its pty, for comparison
    Rfc2217Auth,  // rfc2217+tls, the server's certificate, client certificates checked
    TcpAuth,      // tcp+tls, likewise
    TcpWrongName, // tcp+tls, a certificate for another name
    TcpExpired,   // tcp+tls, an expired certificate
    AccepterCount,
};

} // namespace

class TestCliTls : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void sameLinesAsOverPty_data();
    void sameLinesAsOverPty();
    void refusals_data();
    void refusals();
    void portsProbesTlsEntries();

private:
    // --ca (or with pinned --pin of the server's certificate), --cert and --key of the operator
    // the servers know.
    QStringList trusted(bool pinned = false) const;

    QTemporaryDir m_dir;
    Ser2NetCertificates m_certs;
    std::array<ControllerSimulator, AccepterCount> m_sims;
    QStringList m_urls;
    Ser2NetRunner m_ser2net;
};

void TestCliTls::initTestCase() {
    QVERIFY2(m_certs.make(), qPrintable(m_certs.error()));
    QVERIFY2(m_certs.server(QStringLiteral("elsewhere"), QStringLiteral("DNS:feeder.invalid"), 2),
             qPrintable(m_certs.error()));
    QVERIFY2(m_certs.server(QStringLiteral("expired"), QStringLiteral("IP:127.0.0.1"), -1),
             qPrintable(m_certs.error()));
    QVERIFY2(m_certs.client(QStringLiteral("operator"), QStringLiteral("operator"), true),
             qPrintable(m_certs.error()));
    // The same user's name, but a certificate the server was never given.
    QVERIFY2(m_certs.client(QStringLiteral("stranger"), QStringLiteral("operator"), false),
             qPrintable(m_certs.error()));
    const auto tls = [this](const QString &name, bool clientAuth) {
        return Ser2NetRunner::Tls{m_certs.path(name + QStringLiteral(".crt")),
                                  m_certs.path(name + QStringLiteral(".key")), clientAuth,
                                  m_certs.authDir()};
    };
    const QString server = QStringLiteral("server");
    m_urls = {
        m_sims[Pty].devicePath(),
        m_ser2net.addTls(m_sims[Rfc2217Auth].devicePath(), NetAddress::Kind::Rfc2217,
                         tls(server, true)),
        m_ser2net.addTls(m_sims[TcpAuth].devicePath(), NetAddress::Kind::Tcp, tls(server, true)),
        m_ser2net.addTls(m_sims[TcpWrongName].devicePath(), NetAddress::Kind::Tcp,
                         tls(QStringLiteral("elsewhere"), false)),
        m_ser2net.addTls(m_sims[TcpExpired].devicePath(), NetAddress::Kind::Tcp,
                         tls(QStringLiteral("expired"), false))};
    QVERIFY2(m_ser2net.start(), qPrintable(m_ser2net.error() + m_ser2net.configText()));
}

void TestCliTls::init() {
    clearStoredSettings();
    for (ControllerSimulator &sim : m_sims)
        sim.clearReceived();
}

QStringList TestCliTls::trusted(bool pinned) const {
    return {pinned ? QStringLiteral("--pin") : QStringLiteral("--ca"),
            pinned ? m_certs.fingerprint(QStringLiteral("server"))
                   : m_certs.path(QStringLiteral("ca.crt")),
            QStringLiteral("--cert"),
            m_certs.path(QStringLiteral("operator.crt")),
            QStringLiteral("--key"),
            m_certs.path(QStringLiteral("operator.key"))};
}

void TestCliTls::sameLinesAsOverPty_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("pinned");
    QvData edited = factoryData();
    edited.Vel1 = 20, edited.Pulse1 = 2048;
    const QString file = writeQvFile(m_dir, edited, QStringLiteral("edited.qvd"));
    QTest::newRow("read") << QStringList{"read"} << false;
    QTest::newRow("read, certificate pinned") << QStringList{"read"} << true;
    QTest::newRow("write with restart")
        << QStringList{"--yes", "write", file, "--parameters", "--restart"} << false;
}

void TestCliTls::sameLinesAsOverPty() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, pinned);
    QStringList outputs;
    for (const int a : {Pty, Rfc2217Auth, TcpAuth}) {
        const CliResult r = runCli(English + QStringList{QStringLiteral("--trace")} +
                                   trusted(pinned) + onDevice(m_urls[a], arguments));
        QVERIFY2(r.exitCode == 0, qPrintable(m_urls[a] + QStringLiteral(": ") + r.err));
        outputs.append(r.out);
        // The trace shows the controller's lines, and of TLS no more than where it goes.
        QVERIFY2(!r.err.contains(QLatin1String("PRIVATE")), qPrintable(r.err));
    }
    QVERIFY(!m_sims[Pty].receivedLines().isEmpty());
    // The restart is not answered; through a device server it may still be on its way when the
    // program has ended.
    QTRY_COMPARE(m_sims[Rfc2217Auth].receivedLines(), m_sims[Pty].receivedLines());
    QTRY_COMPARE(m_sims[TcpAuth].receivedLines(), m_sims[Pty].receivedLines());
    QCOMPARE(outputs[1], outputs[0]);
    QCOMPARE(outputs[2], outputs[0]);
}

void TestCliTls::refusals_data() {
    QTest::addColumn<int>("accepter");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("told");
    const QString ca = m_certs.path(QStringLiteral("ca.crt"));
    const QStringList asOperator{"--cert", m_certs.path("operator.crt"), "--key",
                                 m_certs.path("operator.key")};
    const QStringList withCa{"--ca", ca};
    // A copy of the operator's key that everyone may read.
    const QString openKey = m_certs.path(QStringLiteral("open.key"));
    QFile::copy(m_certs.path(QStringLiteral("operator.key")), openKey);
    QFile::setPermissions(openKey, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                       QFile::ReadOther);

    QTest::newRow("private CA not given")
        << int(Rfc2217Auth) << asOperator
        << "TLS: the server's certificate comes from an unknown issuer";
    QTest::newRow("name mismatch")
        << int(TcpWrongName) << withCa << "TLS: the server's certificate is not for 127.0.0.1";
    QTest::newRow("expired") << int(TcpExpired) << withCa
                             << "TLS: the server's certificate has expired";
    QTest::newRow("wrong pin")
        << int(Rfc2217Auth)
        << asOperator + QStringList{"--pin", m_certs.fingerprint(QStringLiteral("elsewhere"))}
        << QStringLiteral("does not match the pinned fingerprint (the server's is SHA-256 %1)")
               .arg(m_certs.fingerprint(QStringLiteral("server")));
    QTest::newRow("no client certificate, rfc2217")
        << int(Rfc2217Auth) << withCa << "it asks for a client certificate";
    QTest::newRow("no client certificate, tcp")
        << int(TcpAuth) << withCa << "it asks for a client certificate";
    QTest::newRow("certificate not allowed")
        << int(TcpAuth)
        << withCa + QStringList{"--cert", m_certs.path("stranger.crt"), "--key",
                                m_certs.path("stranger.key")}
        << QStringLiteral("TLS: the server refused this certificate (%1)")
               .arg(m_certs.path("stranger.crt"));
    QTest::newRow("key readable by others")
        << int(Rfc2217Auth)
        << withCa + QStringList{"--cert", m_certs.path("operator.crt"), "--key", openKey}
        << QStringLiteral("TLS: the key file %1 can be read by other users").arg(openKey);
}

// The run fails naming what was wrong, and the controller received nothing at all.
void TestCliTls::refusals() {
    QFETCH(int, accepter);
    QFETCH(QStringList, options);
    QFETCH(QString, told);
    const CliResult r = runCli(English + options + onDevice(m_urls[accepter], {"read"}));
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(told), qPrintable(r.err));
    // ser2net may pass on late what it was given; give it the time to.
    QTest::qWait(200);
    QCOMPARE(m_sims[size_t(accepter)].receivedLines(), QStringList());
}

// A TLS entry of the port map is tried like any other: its kind, and whether it passes.
void TestCliTls::portsProbesTlsEntries() {
    PortMap::setEntry(5, m_urls[Rfc2217Auth]);
    PortMap::setEntry(6, m_urls[TcpExpired]);
    const CliResult r = runCli(English + trusted() + QStringList{QStringLiteral("ports")});
    QCOMPARE(r.exitCode, 0);
    const auto hostPort = [this](int a) { return NetAddress::parse(m_urls[a]).hostPort(); };
    QVERIFY2(r.out.contains(QStringLiteral("COM5\t%1\t%2\tnetwork line (RFC 2217 over TLS)\t\t\t"
                                           "can be opened\n")
                                .arg(m_urls[Rfc2217Auth], hostPort(Rfc2217Auth))),
             qPrintable(r.out));
    QVERIFY2(r.out.contains(QStringLiteral("COM6\t%1\t%2\tnetwork line (plain TCP over TLS)\t\t\t"
                                           "TLS: the server's certificate has expired\n")
                                .arg(m_urls[TcpExpired], hostPort(TcpExpired))),
             qPrintable(r.out));
}

QV_TEST_CORE_MAIN(TestCliTls)
#include "tst_clitls.moc"
