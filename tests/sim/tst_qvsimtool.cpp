// The qvsim tool: the device path on its first line, faults taken from its options.
#include "TestPaths.h"
#include "support/TestEnvironment.h"

#include <QProcess>
#include <QSerialPort>

class TestQvsimTool : public QObject {
    Q_OBJECT
private slots:
    void servesWithFault_data();
    void servesWithFault();
    void refusesBadOption();
    void endsWhenLineDrops();
};

namespace {

QByteArray ask(QSerialPort &port, const QByteArray &line) {
    port.write(line + "\r\n");
    port.waitForBytesWritten(1000);
    QByteArray got;
    while (!got.endsWith("\r\n") && port.waitForReadyRead(2000))
        got += port.readAll();
    return got;
}

QString startTool(QProcess &tool, const QStringList &options) {
    tool.start(QStringLiteral(QVSIM_TOOL), QStringList{QStringLiteral("--quiet")} + options);
    if (!tool.waitForStarted(3000) || !tool.waitForReadyRead(3000))
        return {};
    return QString::fromLocal8Bit(tool.readLine()).trimmed();
}

} // namespace

void TestQvsimTool::servesWithFault_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("reply");
    QTest::newRow("plain") << QStringList{} << QByteArray("0RD01")
                           << QByteArray("0RD010864C8640F1400FF\r\n");
    QTest::newRow("error") << QStringList{QStringLiteral("--error"), QStringLiteral("03")}
                           << QByteArray("0CM1") << QByteArray("0%%03\r\n");
    QTest::newRow("foreign prefix only on 0RV")
        << QStringList{QStringLiteral("--foreign-prefix=1AB"), QStringLiteral("--only=0RV")}
        << QByteArray("0RV") << QByteArray("1AB140000\r\n");
    QTest::newRow("prefix spares others")
        << QStringList{QStringLiteral("--foreign-prefix=1AB"), QStringLiteral("--only=0RV")}
        << QByteArray("0CM1") << QByteArray("0CM1\r\n");
    QTest::newRow("shorter") << QStringList{QStringLiteral("--wrong-length=-1")}
                             << QByteArray("0CM1") << QByteArray("0CM\r\n");
}

void TestQvsimTool::servesWithFault() {
    QFETCH(QStringList, options);
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, reply);
    QProcess tool;
    const QString path = startTool(tool, options);
    QVERIFY2(path.startsWith(QLatin1String("/dev/")), qPrintable(path));
    QSerialPort port(path);
    QVERIFY(port.open(QIODevice::ReadWrite));
    QCOMPARE(ask(port, line), reply);
    tool.terminate();
    QVERIFY(tool.waitForFinished(3000));
}

void TestQvsimTool::refusesBadOption() {
    QProcess tool;
    tool.start(QStringLiteral(QVSIM_TOOL), {QStringLiteral("--pieces"), QStringLiteral("none")});
    QVERIFY(tool.waitForFinished(3000));
    QCOMPARE(tool.exitCode(), 2);
    QVERIFY(tool.readAllStandardError().contains("--pieces"));
}

void TestQvsimTool::endsWhenLineDrops() {
    QProcess tool;
    const QString path = startTool(tool, {QStringLiteral("--drop-after=1")});
    QSerialPort port(path);
    QVERIFY(port.open(QIODevice::ReadWrite));
    port.write("0CM1\r\n");
    QVERIFY(port.waitForBytesWritten(1000));
    QVERIFY(tool.waitForFinished(3000));
    QCOMPARE(tool.exitCode(), 0);
}

QV_TEST_CORE_MAIN(TestQvsimTool)
#include "tst_qvsimtool.moc"
