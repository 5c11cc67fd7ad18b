#include "data/ControllerBlocks.h"
#include "support/ScriptedPrompt.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>

using namespace ControllerBlocks;

namespace {

// The working copy of the examples: position 1 as in block "02" of the examples, the parameters
// at the controller's initial values.
QvData exampleData() {
    return QvData{.Vel1 = 10,
                  .Acc1 = 3,
                  .Dec1 = 2,
                  .PauseTime1 = 5,
                  .Pulse1 = 400,
                  .Vel2 = 20,
                  .Acc2 = 5,
                  .Dec2 = 4,
                  .PauseTime2 = 7,
                  .Pulse2 = 100,
                  .SeparateTimer = 100,
                  .SupplyCounter = 8,
                  .RestartDelay = 100,
                  .MidDetectCounter = 15,
                  .NoWorkCounter = 200,
                  .TipWorkOffTimer = 20,
                  .Sp1 = 0,
                  .RevDir = 0,
                  .HomingVel = 8,
                  .HomingPulse = 300,
                  .OffsetVel = 6,
                  .OffsetPulse = 2};
}

QString reply(const QString &writeData) {
    return QStringLiteral("0RD") + writeData + "\r\n";
}

ReadReplies repliesFor(const WriteBlocks &blocks) {
    return {reply(blocks[0]), reply(blocks[1]), reply(blocks[2]), reply(blocks[HomingRow]),
            reply(blocks[SensorRow])};
}

} // namespace

class TestControllerBlocks : public QObject {
    Q_OBJECT
private slots:
    void hexField_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("text");
        QTest::newRow("velocity 30 x 4") << 120 << 2 << "78";
        QTest::newRow("pulse 400") << 400 << 6 << "000190";
        QTest::newRow("homing pulse 300") << 300 << 4 << "012C";
        QTest::newRow("homing pulse 600") << 600 << 4 << "0258";
        QTest::newRow("offset pulse 2") << 2 << 4 << "0002";
        QTest::newRow("zero") << 0 << 2 << "00";
        QTest::newRow("largest pulse") << 16777215 << 6 << "FFFFFF";
        QTest::newRow("pulse too large") << 16777216 << 6 << "X";
        QTest::newRow("byte too large") << 256 << 2 << "X";
        QTest::newRow("negative does not fit") << -1 << 2 << "X";
    }
    void hexField() {
        QFETCH(int, value);
        QFETCH(int, width);
        QFETCH(QString, text);
        QCOMPARE(HexField(value, qint16(width)), text);
    }

    void writeBlocksWithParameters() {
        ScriptedPrompt prompt;
        WriteBlocks blocks;
        QCOMPARE(SetData2PSDA(exampleData(), true, blocks, prompt), qint16(0));
        const WriteBlocks expected = {
            "0228030200019005FF", "0428030200006407FF", "0550050407FFFFFFFF", "0008012C060002FF00",
            "010864C8640F1400FF", "0350050405FFFFFFFF", "1FFFFFFFFFFFFF55AA"};
        for (int i = 0; i < 7; ++i)
            QCOMPARE(blocks[i], expected[i]);
        QCOMPARE(blocks[6].size(), 18);
        QVERIFY(prompt.shown.isEmpty());
    }

    void parameterBlocksKeptWhileInactive() {
        ScriptedPrompt prompt;
        WriteBlocks blocks;
        blocks[HomingRow] = "0RD0008012C060002FF00\r\n";
        blocks[SensorRow] = "0RD010864C8640F1400FF\r\n";
        QvData d = exampleData();
        d.HomingVel = 16;
        d.RevDir = 1;
        QCOMPARE(SetData2PSDA(d, false, blocks, prompt), qint16(0));
        QCOMPARE(blocks[HomingRow], QString("0RD0008012C060002FF00\r\n"));
        QCOMPARE(blocks[SensorRow], QString("0RD010864C8640F1400FF\r\n"));
        QCOMPARE(blocks[0], QString("0228030200019005FF"));

        QCOMPARE(SetData2PSDA(d, true, blocks, prompt), qint16(0));
        QCOMPARE(blocks[HomingRow], QString("0010012C060002FF01")); // RevDir after the filler
    }

    void velocityTooLargeStopsBuilding_data() {
        QTest::addColumn<bool>("position1");
        QTest::addColumn<int>("rowsBuilt");
        QTest::newRow("position 1") << true << 0;
        QTest::newRow("position 2") << false << 2;
    }
    void velocityTooLargeStopsBuilding() {
        QFETCH(bool, position1);
        QFETCH(int, rowsBuilt);
        QvData d = exampleData();
        (position1 ? d.Vel1 : d.Vel2) = 8192; // 4 x 8192 leaves the 16-bit range
        ScriptedPrompt prompt;
        WriteBlocks blocks;
        QCOMPARE(SetData2PSDA(d, true, blocks, prompt), qint16(1));
        QCOMPARE(prompt.texts(),
                 QStringList{QString::fromUtf8("送信前ﾃﾞｰﾀ処理でｴﾗｰが発生しました。\r\n"
                                               "処理を中止します。")});
        QCOMPARE(prompt.shown[0].buttons, MsgButtons::OkOnly);
        QCOMPARE(prompt.shown[0].icon, MsgIcon::None);
        for (int i = 0; i < 7; ++i)
            QCOMPARE(blocks[i].isEmpty(), i >= rowsBuilt);
    }

    void largestVelocityThatFitsIsBuilt() {
        QvData d = exampleData();
        d.Vel1 = 8191; // 32764 fits 16 bits but not one byte: a short block
        ScriptedPrompt prompt;
        WriteBlocks blocks;
        QCOMPARE(SetData2PSDA(d, true, blocks, prompt), qint16(0));
        QCOMPARE(blocks[0], QString("02X030200019005FF"));
    }

    void readRoundTrip() {
        ScriptedPrompt prompt;
        WriteBlocks blocks;
        const QvData d = exampleData();
        QVERIFY(SetData2PSDA(d, true, blocks, prompt) == 0);
        QvData read;
        QCOMPARE(Extract2temp(repliesFor(blocks), read), qint16(0));
        QCOMPARE(read, d);
    }

    void readBytes_data() {
        QTest::addColumn<QString>("velocityByte");
        QTest::addColumn<QString>("accByte");
        QTest::addColumn<int>("vel");
        QTest::addColumn<int>("acc");
        QTest::newRow("78 is 30") << "78"
                                  << "03" << 30 << 3;
        QTest::newRow("7A is 30, halves to even") << "7A"
                                                  << "03" << 30 << 3;
        QTest::newRow("7E is 32, halves to even") << "7E"
                                                  << "03" << 32 << 3;
        QTest::newRow("lower case") << "7e"
                                    << "0f" << 32 << 15;
    }
    void readBytes() {
        QFETCH(QString, velocityByte);
        QFETCH(QString, accByte);
        QFETCH(int, vel);
        QFETCH(int, acc);
        ScriptedPrompt prompt;
        WriteBlocks blocks;
        QVERIFY(SetData2PSDA(exampleData(), true, blocks, prompt) == 0);
        ReadReplies replies = repliesFor(blocks);
        replies[0].replace(5, 2, velocityByte).replace(7, 2, accByte);
        replies[2].replace(5, 2, velocityByte);
        QvData read;
        QCOMPARE(Extract2temp(replies, read), qint16(0));
        QCOMPARE(int(read.Vel1), vel);
        QCOMPARE(int(read.Acc1), acc);
        QCOMPARE(int(read.Vel2), vel);
        QCOMPARE(read.Pulse1, 400);
    }

    void readIgnoresBlock04Motion() {
        ScriptedPrompt prompt;
        WriteBlocks blocks;
        QVERIFY(SetData2PSDA(exampleData(), true, blocks, prompt) == 0);
        ReadReplies replies = repliesFor(blocks);
        replies[1].replace(5, 6, "ZZZZZZ");
        QvData read;
        QCOMPARE(Extract2temp(replies, read), qint16(0));
        QCOMPARE(read, exampleData());
    }

    void largeWideFieldsArePositive() {
        ReadReplies replies = {reply("0228030200019005FF"), reply("0428030200006407FF"),
                               reply("0550050407FFFFFFFF"), reply("0008FFFF068000FFFF"),
                               reply("010864C8640F1400FF")};
        QvData read;
        QCOMPARE(Extract2temp(replies, read), qint16(0));
        QCOMPARE(read.HomingPulse, 65535);
        QCOMPARE(read.OffsetPulse, 32768);
        QCOMPARE(int(read.RevDir), 255);
    }

    // Any field the decoder takes, byte or wider, fails the whole read when it is not hexadecimal.
    void fieldNotHexFailsTheRead_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("text");
        QTest::newRow("Pulse1") << 0 << 12 << "00G";
        QTest::newRow("Pulse2 blank") << 1 << 14 << " ";
        QTest::newRow("HomingPulse") << 3 << 8 << "x";
        QTest::newRow("OffsetPulse last digit") << 3 << 17 << "-";
        QTest::newRow("Vel1 first character") << 0 << 6 << "G";
        QTest::newRow("Acc1 both characters") << 0 << 8 << "ZZ";
        QTest::newRow("Dec2 second character") << 2 << 11 << "?";
        QTest::newRow("RevDir") << 3 << 20 << "Z";
        QTest::newRow("Sp1 blank") << 4 << 18 << " ";
    }
    void fieldNotHexFailsTheRead() {
        QFETCH(int, row);
        QFETCH(int, position);
        QFETCH(QString, text);
        ScriptedPrompt prompt;
        WriteBlocks blocks;
        QVERIFY(SetData2PSDA(exampleData(), true, blocks, prompt) == 0);
        ReadReplies replies = repliesFor(blocks);
        replies[row].replace(position - 1, text.size(), text);
        QvData read;
        read.Vel1 = 7;
        const QvData before = read;
        QCOMPARE(Extract2temp(replies, read), qint16(1));
        QCOMPARE(read, before);
    }

    void shortReplyFailsWithoutReadingPastIt() {
        ReadReplies replies = {reply("0228030200019005FF"), "0RD04", reply("0550050407FFFFFFFF"),
                               reply("0008012C060002FF00"), QString()};
        QvData read;
        QCOMPARE(Extract2temp(replies, read), qint16(1));
        QCOMPARE(read, QvData());
    }
};

QV_TEST_CORE_MAIN(TestControllerBlocks)
#include "tst_controllerblocks.moc"
