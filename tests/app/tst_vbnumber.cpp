#include "base/VbNumber.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>

class TestVbNumber : public QObject {
    Q_OBJECT
private slots:
    void wholeText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << "3" << true << 3;
        QTest::newRow("blanks around") << "  12 " << true << 12;
        QTest::newRow("negative") << "-7" << true << -7;
        QTest::newRow("half to even down") << "2.5" << true << 2;
        QTest::newRow("half to even up") << "3.5" << true << 4;
        QTest::newRow("largest") << "32767" << true << 32767;
        QTest::newRow("too large") << "32768" << false << 0;
        QTest::newRow("letters") << "abc" << false << 0;
        QTest::newRow("trailing letters") << "12abc" << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("full-width digit") << "１" << false << 0;
    }
    void wholeText() {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(int, value);
        const auto v = VbNumber::toInt16(text);
        QCOMPARE(v.has_value(), ok);
        if (ok)
            QCOMPARE(int(*v), value);
    }

    void leadingNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("digits then letters") << "12abc" << 12.0;
        QTest::newRow("decimal") << "2.5" << 2.5;
        QTest::newRow("leading blank") << " 7x" << 7.0;
        QTest::newRow("no number") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("range text") << "1～30の整数" << 1.0;
        QTest::newRow("sign only") << "-" << 0.0;
    }
    void leadingNumber() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(VbNumber::leadingValue(text), value);
    }

    void halvesToEven() {
        QCOMPARE(VbNumber::roundHalfEven(0.5), 0.0);
        QCOMPARE(VbNumber::roundHalfEven(1.5), 2.0);
        QCOMPARE(VbNumber::roundHalfEven(2.5), 2.0);
        QCOMPARE(VbNumber::roundHalfEven(2.6), 3.0);
        QCOMPARE(VbNumber::roundHalfEven(-2.5), -2.0);
    }
};

QV_TEST_CORE_MAIN(TestVbNumber)
#include "tst_vbnumber.moc"
