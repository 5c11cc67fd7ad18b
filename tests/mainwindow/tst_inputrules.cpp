#include "base/ResText.h"
#include "data/FieldNumber.h"
#include "data/KeyRule.h"
#include "data/QvData.h"
#include "data/RangeCheck.h"
#include "support/ScriptedPrompt.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>

Q_DECLARE_METATYPE(KeyVerdict)
Q_DECLARE_METATYPE(QvData)

namespace {

// A set in which every item is in range.
QvData validData() {
    QvData d;
    d.Vel1 = d.Vel2 = 30;
    d.Acc1 = d.Acc2 = d.Dec1 = d.Dec2 = 1;
    d.PauseTime1 = 0;
    d.PauseTime2 = 255;
    d.Pulse1 = 0;
    d.Pulse2 = 0xFFFFFF;
    d.SeparateTimer = d.SupplyCounter = d.RestartDelay = 1;
    d.MidDetectCounter = d.NoWorkCounter = d.TipWorkOffTimer = 255;
    d.Sp1 = 0;
    d.RevDir = 1;
    d.HomingVel = d.OffsetVel = 16;
    d.HomingPulse = d.OffsetPulse = 600;
    return d;
}

} // namespace

// The widget-free rules behind the editing fields: taking numbers, typed keys, the range check.
class TestInputRules : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { setLangOffset(0); }

    void takingNumbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("as16");    // -99999 = does not fit
        QTest::addColumn<qint64>("as32"); // -9999999999 = does not fit
        const int no16 = -99999;
        const qint64 no32 = -9999999999LL;
        QTest::newRow("leading number") << "12abc" << 12 << qint64(12);
        QTest::newRow("half down to even") << "2.5" << 2 << qint64(2);
        QTest::newRow("half up to even") << "3.5" << 4 << qint64(4);
        QTest::newRow("letters only") << "abc" << 0 << qint64(0);
        QTest::newRow("empty") << "" << 0 << qint64(0);
        QTest::newRow("leading blanks") << "  77" << 77 << qint64(77);
        QTest::newRow("negative") << "-5" << -5 << qint64(-5);
        QTest::newRow("largest 16-bit") << "32767" << 32767 << qint64(32767);
        QTest::newRow("pausing time 40000") << "40000" << no16 << qint64(40000);
        QTest::newRow("ten digits") << "9999999999" << no16 << no32;
        QTest::newRow("largest 32-bit") << "2147483647" << no16 << qint64(2147483647);
        QTest::newRow("rounds past 32-bit") << "2147483647.5" << no16 << no32;
    }
    void takingNumbers() {
        QFETCH(QString, text);
        QFETCH(int, as16);
        QFETCH(qint64, as32);
        const auto v16 = FieldNumber::take16(text);
        const auto v32 = FieldNumber::take32(text);
        QCOMPARE(v16.has_value(), as16 != -99999);
        if (v16)
            QCOMPARE(int(*v16), as16);
        QCOMPARE(v32.has_value(), as32 != -9999999999LL);
        if (v32)
            QCOMPARE(qint64(*v32), as32);
    }

    void focusLoss_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("high");
        QTest::addColumn<bool>("refused");
        QTest::newRow("400 kept") << "400" << 0 << 400 << false;
        QTest::newRow("empty kept") << "" << 1 << 255 << false;
        QTest::newRow("zero below 1") << "0" << 1 << 255 << true;
        QTest::newRow("VEL 0 allowed") << "0" << 0 << 30 << false;
        QTest::newRow("VEL 31") << "31" << 0 << 30 << true;
        QTest::newRow("rounded into range") << "400.5" << 0 << 400 << false;
    }
    void focusLoss() {
        QFETCH(QString, text);
        QFETCH(int, low);
        QFETCH(int, high);
        QFETCH(bool, refused);
        QCOMPARE(FieldNumber::refusedOnFocusLoss(text, low, high), refused);
    }

    void typedKeys_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("selection");
        QTest::addColumn<bool>("vel");
        QTest::addColumn<KeyVerdict>("verdict");
        const auto pass = KeyVerdict::Pass, drop = KeyVerdict::Drop, on = KeyVerdict::MoveOn;
        QTest::newRow("digit") << int('7') << 0 << false << false << pass;
        QTest::newRow("letter") << int('a') << 0 << false << false << drop;
        QTest::newRow("minus") << int('-') << 0 << false << false << drop;
        QTest::newRow("point") << int('.') << 1 << false << false << drop;
        QTest::newRow("Ctrl+V code") << 22 << 0 << false << false << drop;
        QTest::newRow("full-width digit") << 0xFF11 << 0 << false << false << drop;
        QTest::newRow("fourth digit") << int('1') << 3 << false << false << drop;
        QTest::newRow("digit over selection") << int('1') << 3 << true << false << pass;
        QTest::newRow("backspace when full") << 8 << 3 << false << false << pass;
        QTest::newRow("tab") << 9 << 0 << false << false << pass;
        QTest::newRow("enter") << 13 << 0 << false << false << on;
        QTest::newRow("enter when full") << 13 << 3 << false << false << on;
        QTest::newRow("VEL third digit") << int('1') << 2 << false << true << drop;
        QTest::newRow("VEL full with selection") << int('1') << 2 << true << true << pass;
        QTest::newRow("VEL second digit") << int('1') << 1 << false << true << pass;
        QTest::newRow("VEL backspace") << 8 << 2 << true << true << pass;
    }
    void typedKeys() {
        QFETCH(int, code);
        QFETCH(int, length);
        QFETCH(bool, selection);
        QFETCH(bool, vel);
        QFETCH(KeyVerdict, verdict);
        const KeyRule rule = vel ? KeyRule{2} : KeyRule{3};
        QCOMPARE(judgeKey(code, length, selection, rule), verdict);
    }

    // The message of the worked example, line by line, in English.
    void rangeMessageLines() {
        setLangOffset(10000);
        QvData d = validData();
        d.Vel1 = 0;
        d.PauseTime1 = 300;
        d.SeparateTimer = 0;
        const QStringList lines = RangeCheck::message(d, true).split(QStringLiteral("\r\n"));
        const QStringList expected = {
            QStringLiteral("The value of some item indicated below exceeds the allowance."),
            QStringLiteral("Check the data, and try it again."),
            QString(),
            QStringLiteral("Position 1 - VEL,Pausing time,"),
            QStringLiteral("Sensor parameters - Separate timer,"),
            QString(), // the last line ends with CR LF too
        };
        QCOMPARE(lines, expected);
    }

    void rangeList_data() {
        QTest::addColumn<QvData>("data");
        QTest::addColumn<bool>("active");
        QTest::addColumn<QString>("list");
        const QvData ok = validData();
        QTest::newRow("all in range") << ok << true << QString();

        QvData p2 = ok;
        p2.Acc2 = 10;
        p2.Pulse2 = 0x1000000;
        p2.Vel1 = 31;
        QTest::newRow("groups 1 and 2, no empty line")
            << p2 << true << "位置１ - 速度,\r\n位置２ - 加速,位置（ﾊﾟﾙｽ）,\r\n";

        QvData home = ok;
        home.OffsetPulse = 601;
        home.Dec1 = 0;
        QTest::newRow("homing puts an empty line in front")
            << home << true << "\r\n位置１ - 減速,\r\n原点復帰ﾊﾟﾗﾒｰﾀ - ｵﾌｾｯﾄﾊﾟﾙｽ,\r\n";

        QvData both = ok;
        both.RevDir = 2;
        both.Sp1 = -1;
        both.HomingVel = 0;
        QTest::newRow("sensors then homing, two empty lines")
            << both << true
            << "\r\n\r\nｾﾝｻﾊﾟﾗﾒｰﾀ - SP1,回転方向逆転,\r\n原点復帰ﾊﾟﾗﾒｰﾀ - 原点復帰速度,\r\n";

        QTest::newRow("parameters not looked at while inactive") << both << false << QString();

        QvData negative = ok;
        negative.Pulse1 = -1;
        negative.PauseTime2 = -1;
        QTest::newRow("negative values")
            << negative << false << "位置１ - 位置（ﾊﾟﾙｽ）,\r\n位置２ - 停止時間,\r\n";
    }
    void rangeList() {
        QFETCH(QvData, data);
        QFETCH(bool, active);
        QFETCH(QString, list);
        QCOMPARE(RangeCheck::outOfRangeList(data, active), list);
    }

    void rangeCheckReportsOnce() {
        ScriptedPrompt prompt;
        QvData d = validData();
        QVERIFY(RangeCheck::Check_DataRange(d, true, prompt));
        QVERIFY(prompt.shown.isEmpty());

        d.Vel2 = 0;
        QVERIFY(!RangeCheck::Check_DataRange(d, true, prompt));
        d.Vel2 = 1;
        d.Acc1 = 0;
        QVERIFY(!RangeCheck::Check_DataRange(d, true, prompt));
        QCOMPARE(prompt.shown.size(), 2);
        // The second check lists only its own finding.
        QCOMPARE(prompt.shown[1].text,
                 QStringLiteral("以下に示す設定の数値が有効範囲にありません。\r\n"
                                "数値を確認し、再度実行してください。\r\n位置１ - 加速,\r\n"));
        QCOMPARE(prompt.shown[1].buttons, MsgButtons::OkOnly);
        QCOMPARE(prompt.shown[1].icon, MsgIcon::None);
    }
};

QV_TEST_CORE_MAIN(TestInputRules)
#include "tst_inputrules.moc"
