// qvpc-cli --json run as a process against simulated controllers on ptys: standard output is
// one JSON document holding what the command found under the program's item names and how it
// ended, and nothing else.
#include "CliRunner.h"
#include "sim/ControllerSimulator.h"
#include "support/TestEnvironment.h"
#include "transfer/TransferFixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <array>

namespace {

// Whether every member of `expected` is in `actual` with the same value; objects compare by
// their members this way, recursively, arrays element by element.
bool holds(const QJsonValue &actual, const QJsonValue &expected, QString &where) {
    if (expected.isObject()) {
        const QJsonObject want = expected.toObject();
        const QJsonObject have = actual.toObject();
        for (auto it = want.begin(); it != want.end(); ++it) {
            if (!have.contains(it.key()) || !holds(have[it.key()], it.value(), where)) {
                where.prepend(u'.' + it.key());
                return false;
            }
        }
        return true;
    }
    if (expected.isArray()) {
        const QJsonArray want = expected.toArray();
        const QJsonArray have = actual.toArray();
        if (want.size() != have.size()) {
            where = QStringLiteral(" has %1 elements").arg(have.size());
            return false;
        }
        for (qsizetype i = 0; i < want.size(); ++i) {
            if (!holds(have[i], want[i], where)) {
                where.prepend(QStringLiteral("[%1]").arg(i));
                return false;
            }
        }
        return true;
    }
    if (actual != expected)
        where = QStringLiteral(" is %1").arg(
            QString::fromUtf8(QJsonDocument(QJsonArray{actual}).toJson(QJsonDocument::Compact)));
    return actual == expected;
}

} // namespace

class TestCliJson : public QObject {
    Q_OBJECT
private slots:
    void init() { clearStoredSettings(); }
    void document_data();
    void document();
    void watchIsRefused();

private:
    QTemporaryDir m_dir;
};

void TestCliJson::document_data() {
    QTest::addColumn<QStringList>("arguments"); // DEV and OTHER: the two simulators' devices
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("expected"); // what the document holds, at least
    QTest::addColumn<int>("itemCount");    // members of "items" (-1: none)

    QTest::newRow("read") << QStringList{"read"} << 0
                          << R"({"command":"read","port":"DEV","result":{"status":"done"},
                                 "items":{"Vel1":10,"PauseTime2":5,"HomingVel":8}})"
                          << 22;
    QTest::newRow("get") << QStringList{"get", "vel2", "Vel1"} << 0
                         << R"({"items":{"Vel1":10,"Vel2":10},"result":{"status":"done"}})" << 2;
    QTest::newRow("show") << QStringList{"show", "file.qvd"} << 0
                          << R"({"command":"show","items":{"Vel1":20}})" << 22;
    QTest::newRow("verify different")
        << QStringList{"verify", "file.qvd"} << 1 << R"({"equal":false,"result":{"status":"done"},
               "differences":[{"item":"Vel1","file":20,"controller":10}]})"
        << -1;
    QTest::newRow("dry run") << QStringList{"write", "file.qvd", "--dry-run"} << 1
                             << R"({"changes":[{"item":"Vel1","file":20,"controller":10}]})" << -1;
    QTest::newRow("io")
        << QStringList{"io"} << 0
        << R"({"signals":{"run":true,"pause":true,"no-work":false,"tip-sensor":false}})" << -1;
    QTest::newRow("version") << QStringList{"version"} << 0 << R"({"version":"140"})" << -1;
    QTest::newRow("history") << QStringList{"ALONE", "history"} << 0
                             << R"({"command":"history","entries":[]})" << -1;
    QTest::newRow("home") << QStringList{"home"} << 0 << R"({"result":{"status":"done"}})" << -1;
    QTest::newRow("alarm") << QStringList{"move", "1"} << 1
                           << R"({"positions":[],"result":{"status":"failed",
                                  "failure":"error-reply","errorCode":"0B"}})"
                           << -1;
    QTest::newRow("no port") << QStringList{"ALONE", "--device", "/nonexistent/tty", "read"} << 1
                             << R"({"port":"/nonexistent/tty",
                                    "result":{"status":"failed","failure":"no-port",
                                    "message":"通信エラー！(データの読み込み）",
                                    "reason":"/nonexistent/tty を開けません：デバイスがありません（抜かれたか、名前が変わりました）"}})"
                             << -1;
    QTest::newRow("fleet") << QStringList{"--device", "OTHER", "get", "Vel1"} << 0
                           << R"({"command":"get","result":{"status":"done"},"controllers":[
               {"port":"DEV","verdict":"ok","items":{"Vel1":10}},
               {"port":"OTHER","verdict":"ok","items":{"Vel1":10}}]})"
                           << -1;
    QTest::newRow("fleet refused write")
        << QStringList{"--device", "OTHER", "write", "file.qvd"} << 1
        << R"({"controllers":[],"result":{"status":"stopped"}})" << -1;
}

// The document of each kind of command, a failure's kind and the fleet's summary.
void TestCliJson::document() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, expected);
    QFETCH(int, itemCount);
    std::array<ControllerSimulator, 2> sims;
    if (QByteArray(QTest::currentDataTag()) == "alarm")
        sims[0].model().setAlarm(QStringLiteral("0B"));
    QvData file = factoryData();
    file.Vel1 = 20;
    const QString path = writeQvFile(m_dir, file, QStringLiteral("file.qvd"));
    arguments.replaceInStrings(QStringLiteral("file.qvd"), path);
    arguments.replaceInStrings(QStringLiteral("OTHER"), sims[1].devicePath());
    expected.replace(QStringLiteral("OTHER"), sims[1].devicePath());
    expected.replace(QStringLiteral("DEV"), sims[0].devicePath());

    // ALONE: the row names its own controller.
    const bool alone = arguments.first() == QLatin1String("ALONE");
    const QStringList json{QStringLiteral("--json")};
    const CliResult r =
        runCli(alone ? json + arguments.mid(1) : onDevice(sims[0].devicePath(), json + arguments));

    QCOMPARE(r.exitCode, exitCode);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(r.out.toUtf8(), &error);
    QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(r.out));
    QString where;
    QVERIFY2(holds(document.object(), QJsonDocument::fromJson(expected.toUtf8()).object(), where),
             qPrintable(where + QStringLiteral("\n") + r.out));
    if (itemCount >= 0)
        QCOMPARE(document[QStringLiteral("items")].toObject().size(), itemCount);
    const QString failure =
        document[QStringLiteral("result")][QStringLiteral("failure")].toString();
    // A failure says why in words too, on standard error as always.
    if (!failure.isEmpty()) {
        QVERIFY(
            !document[QStringLiteral("result")][QStringLiteral("message")].toString().isEmpty());
        QVERIFY(!r.err.isEmpty());
    }
}

// A watch has no end to print one document at: a usage error, which the document says.
void TestCliJson::watchIsRefused() {
    const CliResult r = runCli({"--json", "--device", "/dev/null", "io", "--watch"});
    QCOMPARE(r.exitCode, 2);
    const QJsonObject document = QJsonDocument::fromJson(r.out.toUtf8()).object();
    QCOMPARE(document[QStringLiteral("command")].toString(), QStringLiteral("io"));
    QCOMPARE(document[QStringLiteral("result")][QStringLiteral("status")].toString(),
             QStringLiteral("refused"));
    QCOMPARE(document[QStringLiteral("result")][QStringLiteral("failure")].toString(),
             QStringLiteral("usage"));
}

QV_TEST_CORE_MAIN(TestCliJson)
#include "tst_clijson.moc"
