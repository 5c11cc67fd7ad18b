// Network lines without ser2net: the addresses, Telnet framing both ways, and what the user is
// told when a server cannot be used, against a server played by the test on the loopback address.
#include "LinkFixture.h"
#include "base/ResText.h"
#include "link/NetAddress.h"
#include "link/NetworkLine.h"
#include "link/PortSurvey.h"
#include "support/FakeLineServer.h"
#include "support/TestEnvironment.h"

#include <QElapsedTimer>

namespace {

// The failure a port given as url leaves behind, opened through the port map as COM1.
struct OpenAttempt {
    bool opened = false;
    QString stateText; // the port's failure in words
    qint64 ms = 0;
};

OpenAttempt openThroughMap(const QString &url) {
    LinkFixture f;
    PortMap::setEntry(1, url);
    QElapsedTimer clock;
    clock.start();
    OpenAttempt a;
    a.opened = f.link->OpenPort().isDone();
    a.ms = clock.elapsed();
    a.stateText = f.link->openFailureText();
    return a;
}

QString closedPortUrl() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return QStringLiteral("tcp://127.0.0.1:%1").arg(port);
}

} // namespace

Q_DECLARE_METATYPE(FakeLineServer::Script)

class TestNetworkLine : public QObject {
    Q_OBJECT
private slots:
    void init() { clearStoredSettings(); }

    void parseAddress_data();
    void parseAddress();
    void framing_data();
    void framing();
    void exchangeOverLine_data();
    void exchangeOverLine();
    void faultsSayWhatHappened_data();
    void faultsSayWhatHappened();
    void serverClosingMidExchangeIsPortGone();
    void silentPortsAreTriedTogether();
};

void TestNetworkLine::parseAddress_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("url");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<bool>("tls");
    QTest::newRow("rfc2217") << "rfc2217://10.0.0.21:4001" << true << "10.0.0.21" << 4001 << false;
    QTest::newRow("rfc2217 over TLS")
        << "RFC2217+TLS://feeder-3.plant:4001" << true << "feeder-3.plant" << 4001 << true;
    QTest::newRow("tcp over TLS, IPv6") << "tcp+tls://[::1]:7000/" << true << "::1" << 7000 << true;
    QTest::newRow("TLS without a port") << "tcp+tls://host" << true << "" << 0 << false;
    QTest::newRow("TLS on another scheme") << "telnet+tls://host:1" << false << "" << 0 << false;
    QTest::newRow("TLS spelled short") << "tcp+ssl://host:1" << false << "" << 0 << false;
    QTest::newRow("tcp, name, slash")
        << "tcp://feeder-3.plant:7000/" << true << "feeder-3.plant" << 7000 << false;
    QTest::newRow("IPv6 in brackets") << "TCP://[::1]:4001" << true << "::1" << 4001 << false;
    QTest::newRow("IPv6 without brackets") << "tcp://::1:4001" << true << "" << 0 << false;
    QTest::newRow("no port") << "rfc2217://10.0.0.21" << true << "" << 0 << false;
    QTest::newRow("port 0") << "tcp://host:0" << true << "" << 0 << false;
    QTest::newRow("port too big") << "tcp://host:65536" << true << "" << 0 << false;
    QTest::newRow("port not a number") << "tcp://host:4o01" << true << "" << 0 << false;
    QTest::newRow("brackets around a name") << "tcp://[host]:1" << true << "" << 0 << false;
    QTest::newRow("a path after the port") << "tcp://host:1/x" << true << "" << 0 << false;
    QTest::newRow("device path") << "/dev/ttyUSB0" << false << "" << 0 << false;
    // Blanks and control characters would reach the name lookup and the user's screen.
    QTest::newRow("blank in the port") << "tcp://host: 4001" << true << "" << 0 << false;
    QTest::newRow("tab in the host") << "tcp://ho\tst:4001" << true << "" << 0 << false;
    QTest::newRow("line end in the host") << "rfc2217://host\n:4001" << true << "" << 0 << false;
    QTest::newRow("escape in the host") << "tcp://\x1b[2Jhost:4001" << true << "" << 0 << false;
}

void TestNetworkLine::parseAddress() {
    QFETCH(QString, text);
    QFETCH(bool, url);
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(bool, tls);
    QCOMPARE(NetAddress::looksLikeUrl(text), url);
    const NetAddress a = NetAddress::parse(text);
    QCOMPARE(a.isValid(), !host.isEmpty());
    QCOMPARE(a.host, host);
    QCOMPARE(int(a.port), port);
    QCOMPARE(a.tls, tls);
    // A valid address reads back as the same address, over TLS or not alike.
    if (a.isValid()) {
        const NetAddress back = NetAddress::parse(a.url());
        QCOMPARE(back.hostPort(), a.hostPort());
        QCOMPARE(back.tls, a.tls);
        QCOMPARE(back.kind, a.kind);
    }
}

void TestNetworkLine::framing_data() {
    QTest::addColumn<bool>("binary");
    QTest::addColumn<QByteArray>("fromServer"); // on the wire, framing included
    QTest::addColumn<QByteArray>("received");   // what the line gives its reader
    QTest::addColumn<QByteArray>("toServer");   // what the line is given to write
    // The data bytes the server takes out of the Telnet stream: a 0xFF not doubled would have
    // been a command and taken the byte after it along.
    QTest::addColumn<QByteArray>("wire");
    // IAC IAC is one 0xFF, commands in the data are taken out, a NOP goes unseen.
    QTest::newRow("binary: 0xFF doubled, commands taken out") << true
                                                              << QByteArray("0\xff\xff"
                                                                            "1\xff\xf1"
                                                                            "2\xff\xfb\x03"
                                                                            "3\r\0\r\n",
                                                                            15)
                                                              << QByteArray("0\xff"
                                                                            "123\r\0\r\n",
                                                                            9)
                                                              << QByteArray("a\xff"
                                                                            "b\r\n",
                                                                            5)
                                                              << QByteArray("a\xff"
                                                                            "b\r\n",
                                                                            5);
    // Outside binary mode the server's CR NUL is a CR, and a lone CR of ours goes as CR NUL.
    QTest::newRow("binary refused: CR NUL")
        << false << QByteArray("x\r\0y\r\n", 6) << QByteArray("x\ry\r\n", 5)
        << QByteArray("p\rq\r\n", 5) << QByteArray("p\r\0q\r\n", 6);
    // A subnegotiation in the middle of data, with a doubled 0xFF inside, is no data.
    QTest::newRow("notice amid data")
        << true
        << QByteArray("ab\xff\xfa\x2c\x6b\xff\xff\xff\xf0"
                      "cd",
                      12)
        << QByteArray("abcd") << QByteArray("0CM1\r\n") << QByteArray("0CM1\r\n");
}

void TestNetworkLine::framing() {
    QFETCH(bool, binary);
    QFETCH(QByteArray, fromServer);
    QFETCH(QByteArray, received);
    QFETCH(QByteArray, toServer);
    QFETCH(QByteArray, wire);
    FakeLineServer::Script script;
    script.binary = binary;
    script.afterSetup = fromServer;
    FakeLineServer server(script);
    NetworkLine line;
    QVERIFY(line.openLine(NetAddress::parse(server.url())));
    QCOMPARE(line.binaryIn(), binary);
    QByteArray got;
    QTRY_VERIFY((got += line.read(Line::MaxHeld), got.size() >= received.size()));
    QCOMPARE(got, received);
    QCOMPARE(line.write(toServer), qint64(toServer.size()));
    QTRY_COMPARE(server.data(), wire);
}

void TestNetworkLine::exchangeOverLine_data() {
    QTest::addColumn<bool>("telnet");
    QTest::addColumn<QString>("host");
    QTest::newRow("rfc2217") << true << "127.0.0.1";
    QTest::newRow("tcp") << false << "127.0.0.1";
    QTest::newRow("rfc2217 over IPv6") << true << "::1";
}

// The exchange sees the controller's bytes alone: the reply is good and the log holds exactly
// the line sent.
void TestNetworkLine::exchangeOverLine() {
    QFETCH(bool, telnet);
    QFETCH(QString, host);
    FakeLineServer::Script script;
    script.telnet = telnet;
    FakeLineServer server(script, QHostAddress(host));
    LinkFixture f;
    PortMap::setEntry(1, server.url(host));
    // The controller's reply as soon as the check arrives.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (server.data() == "0CM1\r\n") {
            server.send("0CM1\r\n");
            answer.stop();
        }
    });
    answer.start(5);
    const OpResult r = f.check();
    QVERIFY2(r.isDone(), qPrintable(r.reason));
    QCOMPARE(server.data(), QByteArray("0CM1\r\n"));
    QVERIFY(f.link->isNetworkLine());
    QCOMPARE(f.link->openDevicePath(), server.url(host));
}

void TestNetworkLine::faultsSayWhatHappened_data() {
    QTest::addColumn<FakeLineServer::Script>("script"); // none: the url column alone
    QTest::addColumn<QString>("url"); // "tls": the script's server over tcp+tls://
    QTest::addColumn<int>("text");
    QTest::addColumn<QString>("detail");
    QTest::addColumn<int>("atLeastMs");
    using Script = FakeLineServer::Script;
    QTest::newRow("refused") << Script{} << closedPortUrl() << 1514 << "" << 0;
    // A name that cannot be a host name fails before any name server is asked.
    QTest::newRow("host not found") << Script{} << "tcp://qvpc..test:4001" << 1515 << "" << 0;
    QTest::newRow("no answer") << Script{.silent = true} << "" << 1516 << ""
                               << NetworkLine::ConnectTimeoutMs;
    QTest::newRow("no COM-port option") << Script{.comPort = false} << "" << 1517 << "" << 0;
    QTest::newRow("settings refused") << Script{.baudAnswer = 19200} << "" << 1518
                                      << ResText(1545).arg(ResText(1536)).arg(9600).arg(19200) << 0;
    // SET-BAUDRATE answered twice instead.
    QTest::newRow("a setting not answered")
        << Script{.unanswered = TelnetCodec::SetParity} << "" << 1518
        << ResText(1546).arg(ResText(1538)) << NetworkLine::ConnectTimeoutMs;
    // A TLS server that stalls in the handshake ends within the connection's time; one that
    // answers it with something else than TLS fails it at once, in TLS's own words.
    QTest::newRow("TLS handshake stalls")
        << Script{.silent = true} << "tls" << 1664 << "" << NetworkLine::ConnectTimeoutMs;
    QTest::newRow("TLS answered with garbage")
        << Script{.telnet = false, .afterSetup = "0CM1 garbage\r\n"} << "tls" << 1669 << "" << 0;
}

void TestNetworkLine::faultsSayWhatHappened() {
    QFETCH(FakeLineServer::Script, script);
    QFETCH(QString, url);
    QFETCH(int, text);
    QFETCH(QString, detail);
    QFETCH(int, atLeastMs);
    FakeLineServer server(script);
    NetAddress overTls = NetAddress::parse(server.url());
    overTls.tls = true;
    const QString port = url == QLatin1String("tls") ? overTls.url()
                         : url.isEmpty()             ? server.url()
                                                     : url;
    const OpenAttempt a = openThroughMap(port);
    QVERIFY(!a.opened);
    const int seconds = NetworkLine::ConnectTimeoutMs / 1000;
    const QString expected = text == 1516 || text == 1664 ? ResText(text).arg(seconds)
                             : text == 1518               ? ResText(text).arg(detail)
                             : text == 1669               ? ResText(text).arg(QString())
                                                          : ResText(text);
    // TLS's own words follow its prefix; a failed handshake is no stalled one.
    if (text == 1669)
        QVERIFY2(a.stateText.startsWith(ResText(1302).arg(1).arg(port, expected)) &&
                     !a.stateText.contains(ResText(1664).arg(seconds)),
                 qPrintable(a.stateText));
    else
        QCOMPARE(a.stateText, ResText(1302).arg(1).arg(port, expected));
    QVERIFY2(a.ms >= atLeastMs - 20, qPrintable(QString::number(a.ms)));
}

// The server hangs up while a reply is awaited: the port went away (no timeout message), and the
// link knows that the server did it.
void TestNetworkLine::serverClosingMidExchangeIsPortGone() {
    FakeLineServer::Script script;
    script.hangUpOnData = true;
    FakeLineServer server(script);
    LinkFixture f;
    PortMap::setEntry(1, server.url());
    const OpResult r = f.check();
    QCOMPARE(r.failure, OpResult::Failure::PortGone);
    QCOMPARE(r.reason,
             QStringLiteral("COM1（%1）の回線をサーバーが切りました。").arg(server.url()));
    QCOMPARE(f.link->portState(), PortState::ServerClosed);
    QVERIFY(!f.link->isPortOpen());
    QVERIFY(f.prompt.shown.isEmpty());
}

// Three servers that never answer: each entry says so, and all three were connected to at once
// rather than one after another's limit.
void TestNetworkLine::silentPortsAreTriedTogether() {
    FakeLineServer::Script silent;
    silent.silent = true;
    std::array<std::unique_ptr<FakeLineServer>, 3> servers;
    for (auto &server : servers)
        server = std::make_unique<FakeLineServer>(silent);
    LinkFixture f;
    for (size_t i = 0; i < servers.size(); ++i)
        PortMap::setEntry(int(i) + 1, servers[i]->url());
    const QList<PortEntry> entries = surveyPorts(*f.link);
    QCOMPARE(entries.size(), 3);
    for (const PortEntry &e : entries)
        QCOMPARE(e.check.state, PortCheck::State::NoAnswer);
    const auto [first, last] = std::minmax(
        {servers[0]->connectedAt(), servers[1]->connectedAt(), servers[2]->connectedAt()});
    QVERIFY(first > 0);
    QVERIFY2(last - first < NetworkLine::ConnectTimeoutMs / 2,
             qPrintable(QString::number(last - first)));
}

QV_TEST_CORE_MAIN(TestNetworkLine)
#include "tst_networkline.moc"
