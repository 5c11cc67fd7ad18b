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
    // --ca of the private CA, or with pinned --pin of the server's certificate.
    QStringList trust(bool pinned = false) const {
        return {pinned ? "--pin" : "--ca", pinned ? m_certs.fingerprint("server") : file("ca.crt")};
    }
    // --cert and --key of an operator (the one the servers know), the key unless another given.
    QStringList as(const QString &name = "operator", const QString &key = {}) const {
        return {"--cert", file(name + ".crt"), "--key", key.isEmpty() ? file(name + ".key") : key};
    }
    QString file(const QString &name) const { return m_certs.path(name); }

    QTemporaryDir m_dir;
    Ser2NetCertificates m_certs;
    std::array<ControllerSimulator, AccepterCount> m_sims;
    QStringList m_urls;
    Ser2NetRunner m_ser2net;
};

void TestCliTls::initTestCase() {
    // Beside the CA and the server's own: a certificate for another name, an expired one, the
    // operator the servers know, and a stranger of the same user's name they were never given.
    QVERIFY2(m_certs.make() && m_certs.server("elsewhere", "DNS:feeder.invalid", 2) &&
                 m_certs.server("expired", "IP:127.0.0.1", -1) &&
                 m_certs.client("operator", "operator", true) &&
                 m_certs.client("stranger", "operator", false),
             qPrintable(m_certs.error()));
    const auto accepter = [this](Accepter a, NetAddress::Kind kind, const QString &certificate,
                                 bool clientAuth) {
        return m_ser2net.addTls(m_sims[a].devicePath(), kind,
                                {file(certificate + ".crt"), file(certificate + ".key"), clientAuth,
                                 m_certs.authDir()});
    };
    using Kind = NetAddress::Kind;
    m_urls = {m_sims[Pty].devicePath(), accepter(Rfc2217Auth, Kind::Rfc2217, "server", true),
              accepter(TcpAuth, Kind::Tcp, "server", true),
              accepter(TcpWrongName, Kind::Tcp, "elsewhere", false),
              accepter(TcpExpired, Kind::Tcp, "expired", false)};
    QVERIFY2(m_ser2net.start(), qPrintable(m_ser2net.error() + m_ser2net.configText()));
}

void TestCliTls::init() {
    clearStoredSettings();
    for (ControllerSimulator &sim : m_sims)
        sim.clearReceived();
}

void TestCliTls::sameLinesAsOverPty_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("pinned");
    QvData edited = factoryData();
    edited.Vel1 = 20, edited.Pulse1 = 2048;
    const QString qvd = writeQvFile(m_dir, edited, QStringLiteral("edited.qvd"));
    QTest::newRow("read") << QStringList{"read"} << false;
    QTest::newRow("read, certificate pinned") << QStringList{"read"} << true;
    QTest::newRow("write with restart")
        << QStringList{"--yes", "write", qvd, "--parameters", "--restart"} << false;
}

void TestCliTls::sameLinesAsOverPty() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, pinned);
    QStringList outputs;
    for (const int a : {Pty, Rfc2217Auth, TcpAuth}) {
        const CliResult r = runCli(English + QStringList{QStringLiteral("--trace")} +
                                   trust(pinned) + as() + onDevice(m_urls[a], arguments));
        QVERIFY2(r.exitCode == 0, qPrintable(m_urls[a] + QStringLiteral(": ") + r.err));
        outputs.append(r.out);
        // The trace shows the controller's lines, and of TLS no more than where it goes.
        QVERIFY2(!r.err.contains(QLatin1String("PRIVATE")), qPrintable(r.err));
    }
    QVERIFY(!m_sims[Pty].receivedLines().isEmpty());
    // The restart is not answered; through a device server it may still be on its way when the
    // program has ended.
    for (const int a : {Rfc2217Auth, TcpAuth}) {
        QTRY_COMPARE(m_sims[a].receivedLines(), m_sims[Pty].receivedLines());
        QCOMPARE(outputs[a], outputs[Pty]);
    }
}

void TestCliTls::refusals_data() {
    QTest::addColumn<int>("accepter");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("told");
    // A copy of the operator's key that everyone may read.
    const QString openKey = file("open.key");
    QFile::copy(file("operator.key"), openKey);
    QFile::setPermissions(openKey, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                       QFile::ReadOther);
    // And one locked by a passphrase, as `openssl pkey -aes256` writes it.
    const QString lockedKey = file("locked.key");
    QProcess::execute("openssl", {"pkey", "-in", file("operator.key"), "-out", lockedKey, "-aes256",
                                  "-passout", "pass:feeder"});
    QFile::setPermissions(lockedKey, QFile::ReadOwner | QFile::WriteOwner);

    QTest::newRow("private CA not given")
        << int(Rfc2217Auth) << as() << "TLS: the server's certificate comes from an unknown issuer";
    QTest::newRow("name mismatch")
        << int(TcpWrongName) << trust() << "TLS: the server's certificate is not for 127.0.0.1";
    QTest::newRow("expired") << int(TcpExpired) << trust()
                             << "TLS: the server's certificate has expired";
    QTest::newRow("wrong pin")
        << int(Rfc2217Auth) << as() + QStringList{"--pin", m_certs.fingerprint("elsewhere")}
        << QStringLiteral("does not match the pinned fingerprint (the server's is SHA-256 %1)")
               .arg(m_certs.fingerprint("server"));
    QTest::newRow("no client certificate, rfc2217")
        << int(Rfc2217Auth) << trust() << "it asks for a client certificate";
    QTest::newRow("no client certificate, tcp")
        << int(TcpAuth) << trust() << "it asks for a client certificate";
    QTest::newRow("certificate not allowed")
        << int(TcpAuth) << trust() + as("stranger")
        << QStringLiteral("TLS: the server refused this certificate (%1)")
               .arg(file("stranger.crt"));
    QTest::newRow("key readable by others")
        << int(Rfc2217Auth) << trust() + as("operator", openKey)
        << QStringLiteral("TLS: the key file %1 can be read by other users").arg(openKey);
    QTest::newRow("key with a passphrase")
        << int(Rfc2217Auth) << trust() + as("operator", lockedKey)
        << QStringLiteral("TLS: the key file %1 is protected by a passphrase").arg(lockedKey);
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
    const CliResult r = runCli(English + trust() + as() + QStringList{QStringLiteral("ports")});
    QCOMPARE(r.exitCode, 0);
    const auto row = [this](const char *com, Accepter a, const char *kind, const char *state) {
        return QStringLiteral("%1\t%2\t%3\tnetwork line (%4 over TLS)\t\t\t%5\n")
            .arg(QLatin1String(com), m_urls[a], NetAddress::parse(m_urls[a]).hostPort(),
                 QLatin1String(kind), QLatin1String(state));
    };
    for (const QString &expected :
         {row("COM5", Rfc2217Auth, "RFC 2217", "can be opened"),
          row("COM6", TcpExpired, "plain TCP", "TLS: the server's certificate has expired")})
        QVERIFY2(r.out.contains(expected), qPrintable(expected + "not in:\n" + r.out));
}

QV_TEST_CORE_MAIN(TestCliTls)
#include "tst_clitls.moc"
