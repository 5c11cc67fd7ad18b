// qvpc-cli on network lines: the controllers' simulators behind ser2net over RFC 2217 and over
// plain TCP get exactly the lines they get over a pty, and a server that cannot be used says why.
#include "CliRunner.h"
#include "sim/ControllerSimulator.h"
#include "sim/Ser2NetRunner.h"
#include "support/FakeLineServer.h"
#include "support/TestEnvironment.h"
#include "transfer/TransferFixture.h"

#include <array>

Q_DECLARE_METATYPE(FakeLineServer::Script)

class TestCliNetwork : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { clearStoredSettings(); }

    void sameLinesAsOverPty_data();
    void sameLinesAsOverPty();
    void fleetAcrossLines();
    void portsListsNetworkEntries();
    void faultsTold_data();
    void faultsTold();

private:
    QTemporaryDir m_dir;
    // 0: on its pty; 1: behind ser2net over RFC 2217; 2: behind ser2net over TCP.
    std::array<ControllerSimulator, 3> m_sims;
    QStringList m_ports;
    Ser2NetRunner m_ser2net;
};

void TestCliNetwork::initTestCase() {
    m_ports = {m_sims[0].devicePath(),
               m_ser2net.add(m_sims[1].devicePath(), NetAddress::Kind::Rfc2217),
               m_ser2net.add(m_sims[2].devicePath(), NetAddress::Kind::Tcp)};
    QVERIFY2(m_ser2net.start(), qPrintable(m_ser2net.error()));
}

void TestCliNetwork::sameLinesAsOverPty_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("sameOutput"); // the I/O block's inputs run on by themselves
    QvData edited = factoryData();
    edited.Vel1 = 20, edited.Pulse1 = 2048;
    const QString file = writeQvFile(m_dir, edited, QStringLiteral("edited.qvd"));
    // In this order: the verification compares what the write left.
    QTest::newRow("read") << QStringList{"read"} << true;
    QTest::newRow("write with restart")
        << QStringList{"--yes", "write", file, "--parameters", "--restart"} << true;
    QTest::newRow("verify") << QStringList{"verify", file, "--parameters"} << true;
    QTest::newRow("move") << QStringList{"move", "2"} << true;
    QTest::newRow("I/O set") << QStringList{"io", "--set", "no-work=on"} << false;
}

void TestCliNetwork::sameLinesAsOverPty() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, sameOutput);
    QStringList outputs;
    for (int i = 0; i < 3; ++i) {
        m_sims[size_t(i)].clearReceived();
        const CliResult r = runCli(English + onDevice(m_ports[i], arguments));
        QVERIFY2(r.exitCode == 0, qPrintable(m_ports[i] + QStringLiteral(": ") + r.err));
        outputs.append(r.out);
    }
    QVERIFY(!m_sims[0].receivedLines().isEmpty());
    // The restart is not answered; through a device server it may still be on its way when the
    // program has ended.
    QTRY_COMPARE(m_sims[1].receivedLines(), m_sims[0].receivedLines());
    QTRY_COMPARE(m_sims[2].receivedLines(), m_sims[0].receivedLines());
    if (sameOutput) {
        QCOMPARE(outputs[1], outputs[0]);
        QCOMPARE(outputs[2], outputs[0]);
    }
}

// One write to a pty and to both network lines at once: one verdict a line, each by its URL.
void TestCliNetwork::fleetAcrossLines() {
    const QString file = writeQvFile(m_dir, factoryData(), QStringLiteral("fleet.qvd"));
    QStringList arguments = English;
    for (const QString &port : m_ports)
        arguments << QStringLiteral("--device") << port;
    const CliResult r =
        runCli(arguments + QStringList{QStringLiteral("--yes"), QStringLiteral("write"), file});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out,
             QStringLiteral("%1\tOK\n%2\tOK\n%3\tOK\n").arg(m_ports[0], m_ports[1], m_ports[2]));
    QCOMPARE(m_sims[1].receivedLines().last(), m_sims[0].receivedLines().last());
}

// A network entry of the port map shows its host and port, its kind and whether it answers.
void TestCliNetwork::portsListsNetworkEntries() {
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost, 0);
    const quint16 closedPort = closed.serverPort();
    closed.close();
    PortMap::setEntry(7, m_ports[1]);
    PortMap::setEntry(8, QStringLiteral("tcp://127.0.0.1:%1").arg(closedPort));
    PortMap::setEntry(9, QStringLiteral("rfc2217://10.0.0.21"));
    const CliResult r = runCli(English + QStringList{QStringLiteral("ports")});
    QCOMPARE(r.exitCode, 0);
    const QString hostPort = m_ports[1].mid(QStringLiteral("rfc2217://").size());
    QVERIFY2(
        r.out.contains(QStringLiteral("COM7\t%1\t%2\tnetwork line (RFC 2217)\t\t\tcan be opened\n")
                           .arg(m_ports[1], hostPort)),
        qPrintable(r.out));
    QVERIFY2(r.out.contains(QStringLiteral("COM8\ttcp://127.0.0.1:%1\t127.0.0.1:%1\tnetwork line "
                                           "(plain TCP)\t\t\tconnection refused")
                                .arg(closedPort)),
             qPrintable(r.out));
    QVERIFY2(r.out.contains(
                 QStringLiteral("COM9\trfc2217://10.0.0.21\t\t\t\t\tnot a valid network address")),
             qPrintable(r.out));
}

void TestCliNetwork::faultsTold_data() {
    QTest::addColumn<FakeLineServer::Script>("script");
    QTest::addColumn<QString>("told");
    FakeLineServer::Script silent;
    silent.silent = true;
    FakeLineServer::Script noOption;
    noOption.comPort = false;
    FakeLineServer::Script otherParity;
    otherParity.baudAnswer = 4800;
    FakeLineServer::Script narrowBaud;
    narrowBaud.baudAnswer = 9600;
    narrowBaud.baudWidth = 2;
    FakeLineServer::Script hangUp;
    hangUp.hangUpOnData = true;
    QTest::newRow("no answer") << silent << "no answer within 4 seconds";
    QTest::newRow("no COM-port option")
        << noOption << "the server does not take the COM-port option (RFC 2217)";
    QTest::newRow("settings refused")
        << otherParity
        << "the server refused the line settings (9600 baud, 8 data bits, no "
           "parity, 1 stop bit, no flow control): baud rate: asked 9600, answered 4800";
    QTest::newRow("settings answered in another width")
        << narrowBaud << "baud rate: asked 9600, answered 9600 in 2 bytes instead of 4";
    QTest::newRow("server hangs up") << hangUp << "The server closed the line to %1.";
}

// The terminal names the line and what became of it; the run fails.
void TestCliNetwork::faultsTold() {
    QFETCH(FakeLineServer::Script, script);
    QFETCH(QString, told);
    FakeLineServer server(script);
    const CliResult r = runCli(English + onDevice(server.url(), {QStringLiteral("read")}));
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(told.contains(QLatin1String("%1")) ? told.arg(server.url()) : told),
             qPrintable(r.err));
}

QV_TEST_CORE_MAIN(TestCliNetwork)
#include "tst_clinetwork.moc"
