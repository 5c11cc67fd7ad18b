// qvpc-cli's write and verify run as a process against the simulated controller on a pty, and
// how it reports a silent or complaining controller.
#include "CliRunner.h"
#include "link/ControllerLink.h"
#include "sim/ControllerSimulator.h"
#include "support/TestEnvironment.h"
#include "transfer/TransferFixture.h"

#include <QFile>

namespace {

const QString WriteQuestion =
    QStringLiteral("データをコントローラーに転送します。よろしいですか？\n");
const QString RestartQuestion = QStringLiteral(
    "データの転送が完了しました。\nコントローラーをリセットします。よろしいですか？\n");
const QString RangeMessage = QStringLiteral(
    "以下に示す設定の数値が有効範囲にありません。\n数値を確認し、再度実行してください。\n");
const QString Timeout = QStringLiteral("通信タイムアウトエラー！\n以下の項目を確認してください。\n"
                                       " １．コントローラーの電源が入っていますか？\n"
                                       " ２．通信ケーブルが接続されていますか？\n");
const QString ReadFailed = QStringLiteral("通信エラー！(データの読み込み）\n");
const QString VerifyNg = QStringLiteral("照合結果－ＮＧ\n\n<一致しなかったデータ>\n");

// Data that differ from the factory values in every block that is written.
QvData editedData() {
    QvData d = factoryData();
    d.Vel1 = 20, d.Acc1 = 4, d.Dec1 = 3, d.Pulse1 = 2048, d.PauseTime1 = 9;
    d.Vel2 = 16, d.Pulse2 = 500, d.PauseTime2 = 4;
    d.HomingPulse = 500, d.RevDir = 1, d.RestartDelay = 60, d.Sp1 = 2;
    return d;
}

QStringList commandsOf(const QStringList &lines) {
    QStringList heads;
    for (const QString &line : lines)
        heads.append(line.left(5));
    return heads;
}

} // namespace

class TestCliWrite : public QObject {
    Q_OBJECT
private slots:
    void init() { clearStoredSettings(); }

    void writeAndRestart_data();
    void writeAndRestart();
    void writeWithoutRestart_data();
    void writeWithoutRestart();
    void writeNotConfirmed();
    void outOfRange_data();
    void outOfRange();
    void verify_data();
    void verify();
    void silentController_data();
    void silentController();
    void errorReply_data();
    void errorReply();
    void wrongReplyDoesNothing_data();
    void wrongReplyDoesNothing();

private:
    QTemporaryDir m_dir;
};

void TestCliWrite::writeAndRestart_data() {
    QTest::addColumn<bool>("parameters");
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QString>("verifyReport");
    const QStringList head{Check, Check, QStringLiteral("0WD02"), QStringLiteral("0WD04"),
                           QStringLiteral("0WD05")};
    const QStringList tail{QStringLiteral("0WD03"), QStringLiteral("0WD1F"), Check,
                           QStringLiteral("0CM3")};
    QTest::newRow("with --parameters")
        << true << head + QStringList{QStringLiteral("0WD00"), QStringLiteral("0WD01")} + tail
        << QStringLiteral("照合結果－ＯＫ\n");
    // The parameter blocks stay as they were: a comparison that includes them finds them.
    QTest::newRow("without --parameters")
        << false << head + tail
        << VerifyNg + QStringLiteral("\n\nｾﾝｻﾊﾟﾗﾒｰﾀ - 供給ｽﾀｰﾄﾃﾞｨﾚｰ,SP1,回転方向逆転,\n"
                                     "原点復帰ﾊﾟﾗﾒｰﾀ - 原点復帰ﾊﾟﾙｽ,\n");
}

// Written and restarted: the controller then holds the file's data.
void TestCliWrite::writeAndRestart() {
    QFETCH(bool, parameters);
    QFETCH(QStringList, commands);
    QFETCH(QString, verifyReport);
    ControllerSimulator sim;
    const QString path = writeQvFile(m_dir, editedData(), QStringLiteral("edited.qvd"));
    QStringList arguments{QStringLiteral("write"), path, QStringLiteral("--restart")};
    if (parameters)
        arguments.append(QStringLiteral("--parameters"));

    CliResult r =
        runCli(QStringList{QStringLiteral("--yes")} + onDevice(sim.devicePath(), arguments));

    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.err, WriteQuestion + RestartQuestion +
                        QStringLiteral("コントローラーをリセットしました。\n"));
    // The restart is not answered; it may still be on its way when the program has ended.
    QTRY_COMPARE(commandsOf(sim.receivedLines()), commands);
    QCOMPARE(sim.receivedLines().at(2), QStringLiteral("0WD0250040300080009FF"));
    QCOMPARE(sim.model().restarts(), 1);

    sim.clearReceived();
    r = runCli(onDevice(sim.devicePath(),
                        {QStringLiteral("verify"), path, QStringLiteral("--parameters")}));
    QCOMPARE(r.err, verifyReport);
    QCOMPARE(r.exitCode, parameters ? 0 : 1);
}

// Without --restart the restart question is answered Cancel, whatever --yes says and in either
// language: written, not restarted, done.
void TestCliWrite::writeWithoutRestart_data() {
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QString>("messages");
    QTest::newRow("ja") << "ja"
                        << WriteQuestion + RestartQuestion +
                               QStringLiteral("--restart が指定されていないため、実行しません。\n");
    QTest::newRow("en") << "en"
                        << QStringLiteral("Data is transmitted to controller,Yes?\n"
                                          "Completed writing data.\n"
                                          "Controller will be reset.Ready?\n"
                                          "Not done: --restart was not given.\n");
}

void TestCliWrite::writeWithoutRestart() {
    QFETCH(QString, lang);
    QFETCH(QString, messages);
    ControllerSimulator sim;
    const QString path = writeQvFile(m_dir, editedData(), QStringLiteral("edited.qvd"));

    const CliResult r =
        runCli(QStringList{QStringLiteral("--lang"), lang, QStringLiteral("--yes")} +
               onDevice(sim.devicePath(), {QStringLiteral("write"), path}));

    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.err, messages);
    QCOMPARE(sim.receivedLines().last(), QStringLiteral("0WD1FFFFFFFFFFFFF55AA"));
    QVERIFY(!sim.receivedLines().contains(QStringLiteral("0CM3")));
    QCOMPARE(sim.model().restarts(), 0);
    QCOMPARE(sim.model().pendingBlock(QStringLiteral("02")), QStringLiteral("50040300080009FF"));
}

// Without --yes the write question stops the command before anything is sent.
void TestCliWrite::writeNotConfirmed() {
    ControllerSimulator sim;
    const QString path = writeQvFile(m_dir, editedData(), QStringLiteral("edited.qvd"));

    const CliResult r = runCli(
        onDevice(sim.devicePath(), {QStringLiteral("write"), path, QStringLiteral("--restart")}));

    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err,
             WriteQuestion + QStringLiteral("--yes が指定されていないため、実行しません。\n"));
    QCOMPARE(sim.receivedLines(), QStringList());
}

void TestCliWrite::outOfRange_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QvData>("data");
    QTest::addColumn<bool>("parameters");
    QTest::addColumn<QString>("list");
    QvData fastVel = factoryData();
    fastVel.Vel1 = 31;
    QvData noSupply = factoryData();
    noSupply.SupplyCounter = 0;
    const QString velList = QStringLiteral("位置１ - 速度,\n");
    const QString supplyList = QStringLiteral("\nｾﾝｻﾊﾟﾗﾒｰﾀ - 供給動作ｶｳﾝﾀ,\n");
    QTest::newRow("write VEL 31") << "write" << fastVel << false << velList;
    QTest::newRow("verify VEL 31") << "verify" << fastVel << false << velList;
    QTest::newRow("write supply counter 0, --parameters")
        << "write" << noSupply << true << supplyList;
    QTest::newRow("write supply counter 0, no --parameters")
        << "write" << noSupply << false << QString();
}

// A value out of range is listed and nothing is sent; a parameter counts only with --parameters.
void TestCliWrite::outOfRange() {
    QFETCH(QString, command);
    QFETCH(QvData, data);
    QFETCH(bool, parameters);
    QFETCH(QString, list);
    ControllerSimulator sim;
    QStringList arguments{command, writeQvFile(m_dir, data, QStringLiteral("range.qvd"))};
    if (parameters)
        arguments.append(QStringLiteral("--parameters"));

    const CliResult r =
        runCli(QStringList{QStringLiteral("--yes")} + onDevice(sim.devicePath(), arguments));

    if (list.isEmpty()) {
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.err.startsWith(WriteQuestion));
        QVERIFY(sim.receivedLines().contains(QStringLiteral("0WD1FFFFFFFFFFFFF55AA")));
        return;
    }
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, RangeMessage + list);
    QCOMPARE(sim.receivedLines(), QStringList());
}

void TestCliWrite::verify_data() {
    QTest::addColumn<QvData>("file");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("report");
    const QStringList en{QStringLiteral("--lang"), QStringLiteral("en")};
    const QStringList parameters{QStringLiteral("--parameters")};
    QvData position = factoryData();
    position.Vel1 = 12, position.PauseTime1 = 6, position.Pulse1 = 401;
    QvData sensor = factoryData();
    sensor.RestartDelay = 50;
    const QString ok = QStringLiteral("照合結果－ＯＫ\n");

    QTest::newRow("equal") << factoryData() << QStringList() << 0 << ok;
    QTest::newRow("equal, English")
        << factoryData() << en << 0 << QStringLiteral("Result of Verify - OK\n");
    QTest::newRow("position 1 differs")
        << position << QStringList() << 1
        << VerifyNg + QStringLiteral("位置１ - 速度,停止時間,位置（ﾊﾟﾙｽ）,\n");
    QTest::newRow("position 1 differs, English")
        << position << en << 1
        << QStringLiteral("Result of Verify - NG\n\n<Unmatched data>\n"
                          "Position 1 - VEL,Pausing time,Position(pulse),\n");
    QTest::newRow("sensor differs, no --parameters") << sensor << QStringList() << 0 << ok;
    QTest::newRow("sensor differs, --parameters")
        << sensor << parameters << 1 << VerifyNg + QStringLiteral("\nｾﾝｻﾊﾟﾗﾒｰﾀ - 供給ｽﾀｰﾄﾃﾞｨﾚｰ,\n");
}

// The file against the controller: the report, exit 0 when equal and 1 when not.
void TestCliWrite::verify() {
    QFETCH(QvData, file);
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(QString, report);
    ControllerSimulator sim;
    const QString path = writeQvFile(m_dir, file, QStringLiteral("verify.qvd"));
    const QStringList lang = options.mid(0, options.indexOf(QStringLiteral("--parameters")));

    const CliResult r =
        runCli(lang + onDevice(sim.devicePath(), QStringList{QStringLiteral("verify"), path} +
                                                     options.mid(lang.size())));

    QCOMPARE(r.err, report);
    QCOMPARE(r.exitCode, exitCode);
    QCOMPARE(sim.receivedLines(), readLines());
}

void TestCliWrite::silentController_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("message");
    QTest::newRow("read") << "read" << Timeout + ReadFailed;
    // As in the window, a verification adds nothing to the exchange's own message.
    QTest::newRow("verify") << "verify" << Timeout;
    QTest::newRow("write") << "write" << WriteQuestion + Timeout;
}

// A controller that does not answer: the timeout message, exit 1, after the check's 1 s.
void TestCliWrite::silentController() {
    QFETCH(QString, command);
    QFETCH(QString, message);
    ControllerSimulator sim;
    SimFault silent;
    silent.silent = true;
    sim.addFault(silent);
    QStringList arguments{command};
    if (command != QLatin1String("read"))
        arguments.append(writeQvFile(m_dir, factoryData(), QStringLiteral("silent.qvd")));

    const CliResult r =
        runCli(QStringList{QStringLiteral("--yes")} + onDevice(sim.devicePath(), arguments));

    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, message);
    QCOMPARE(sim.receivedLines(), QStringList{Check});
    qInfo("%s against a silent controller ended after %lld ms", qPrintable(command), r.ms);
    // The check's own 1000 ms, not cut short.
    QVERIFY2(r.ms >= 1000, qPrintable(QString::number(r.ms)));
}

void TestCliWrite::errorReply_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("failingLine");
    QTest::addColumn<QString>("after");
    QTest::newRow("read, block 04") << "read"
                                    << "0RD04" << ReadFailed;
    QTest::newRow("write, block 05")
        << "write"
        << "0WD05" << QStringLiteral("データの書き込みに失敗しました。\n");
}

// An error reply: its code's text on the error stream, the command stopped at that line.
void TestCliWrite::errorReply() {
    QFETCH(QString, command);
    QFETCH(QString, failingLine);
    QFETCH(QString, after);
    ControllerSimulator sim;
    SimFault error = faultOn(failingLine);
    error.errorCode = QStringLiteral("03");
    sim.addFault(error);
    QStringList arguments{command};
    if (command == QLatin1String("write"))
        arguments.append(writeQvFile(m_dir, editedData(), QStringLiteral("error.qvd")));

    const CliResult r =
        runCli(QStringList{QStringLiteral("--yes")} + onDevice(sim.devicePath(), arguments));

    QCOMPARE(r.exitCode, 1);
    const QString shown = QStringLiteral("エラーが発生しました！\n[") +
                          ControllerLink::errorTextFor(QStringLiteral("0%%03")) +
                          QStringLiteral("]\n") + after + QStringLiteral("アラーム 03：") +
                          ControllerLink::errorTextFor(QStringLiteral("0%%03")) + u'\n';
    QVERIFY(!ControllerLink::errorTextFor(QStringLiteral("0%%03")).isEmpty());
    QVERIFY2(r.err.endsWith(shown), qPrintable(r.err));
    QCOMPARE(sim.receivedLines().last().left(5), failingLine);
}

void TestCliWrite::wrongReplyDoesNothing_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("spoiled");   // the line whose answer is spoiled, if any
    QTest::addColumn<QByteArray>("echoed"); // put over that answer from its fourth character on
    QTest::addColumn<QString>("block02");   // content the controller holds for block "02"
    QTest::addColumn<QString>("shown");
    const QString wrongCommand =
        QStringLiteral("通信データエラー！\n通信データのコマンドに異常が検出されました\n");
    QTest::newRow("read, block 04 answering 0RD02")
        << "read"
        << "0RD02" << QByteArray("04") << QString() << wrongCommand + ReadFailed;
    QTest::newRow("read, byte not hexadecimal")
        << "read" << QString() << QByteArray() << "28ZZ0200019005FF" << ReadFailed;
    QTest::newRow("write, echo of another block")
        << "write"
        << "0WD02" << QByteArray("04") << QString()
        << wrongCommand + QStringLiteral("データの書き込みに失敗しました。\n");
}

// A reply that is not the answer to what was sent: exit 1, nothing saved, no "completed".
void TestCliWrite::wrongReplyDoesNothing() {
    QFETCH(QString, command);
    QFETCH(QString, spoiled);
    QFETCH(QByteArray, echoed);
    QFETCH(QString, block02);
    QFETCH(QString, shown);
    ControllerSimulator sim;
    if (!spoiled.isEmpty()) {
        SimFault fault = faultOn(spoiled);
        fault.overwriteAt = 3;
        fault.overwrite = echoed;
        sim.addFault(fault);
    }
    if (!block02.isEmpty())
        sim.model().setBlock(QStringLiteral("02"), block02);
    const QString output = m_dir.filePath(QStringLiteral("wrong.qvd"));
    QFile::remove(output);
    QStringList arguments{command};
    if (command == QLatin1String("write"))
        arguments << writeQvFile(m_dir, editedData(), QStringLiteral("edited.qvd"))
                  << QStringLiteral("--restart");
    else
        arguments << QStringLiteral("-o") << output;

    const CliResult r =
        runCli(QStringList{QStringLiteral("--yes")} + onDevice(sim.devicePath(), arguments));

    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.endsWith(shown), qPrintable(r.err));
    QVERIFY(!r.err.contains(RestartQuestion));
    QVERIFY(!QFile::exists(output));
    QCOMPARE(sim.model().restarts(), 0);
}

QV_TEST_CORE_MAIN(TestCliWrite)
#include "tst_cliwrite.moc"
