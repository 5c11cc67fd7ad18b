// The printed report on a recording page: each line's text, font and position in twips, in both
// languages, and the numbers and date line as the report writes them.
#include "base/ResText.h"
#include "print/PrintReport.h"
#include "print/PrintSelection.h"
#include "support/RecordingPage.h"
#include "support/TestEnvironment.h"

#include <QLocale>

namespace {

constexpr int L = RecordingPage::LineHeight;

QvData sample() {
    QvData d;
    d.Vel1 = 12, d.Acc1 = 3, d.Dec1 = 4, d.PauseTime1 = 5, d.Pulse1 = 1000;
    d.Vel2 = 30, d.Acc2 = 9, d.Dec2 = 1, d.PauseTime2 = 0, d.Pulse2 = 16777215;
    d.SeparateTimer = 11, d.SupplyCounter = 12, d.RestartDelay = 13, d.MidDetectCounter = 14;
    d.NoWorkCounter = 15, d.TipWorkOffTimer = 16, d.Sp1 = 17, d.RevDir = 1;
    d.HomingVel = 2, d.HomingPulse = 600, d.OffsetVel = 16, d.OffsetPulse = 599;
    return d;
}

PrintSelection fileChoice() {
    PrintSelection s;
    s.FilePosiPrint = true;
    s.PrintPosiFileName = QStringLiteral("/data/qvdata1.qvd");
    s.PrintFileTitle = QStringLiteral("qvdata1.qvd");
    return s;
}

PageRecord printed(const PrintSelection &selection, const QvData &data = sample()) {
    PageRecord record;
    RecordingPage page(record);
    PrintSetData(page, data, selection, QDateTime(QDate(2026, 12, 8), QTime(13, 5, 9)));
    return record;
}

QString rule(const QString &title, int width) {
    return QStringLiteral("=== ") + title + u' ' + QString(width, u'=');
}

// Sensor rows start below the sensor rule's line; homing rows below the homing rule's.
constexpr int SensorRuleY = 2400 + 1200;
constexpr int SensorRow1Y = SensorRuleY + L + 400;
constexpr int HomingRuleY = SensorRow1Y + 6 * 400 + 600;
constexpr int HomingRow1Y = HomingRuleY + L + 400;

} // namespace

class TestPrintReport : public QObject {
    Q_OBJECT
private slots:
    void init() { setLangOffset(0); }

    void lines_data();
    void lines();
    void nothingChosenPrintsTitleAndDate_data();
    void nothingChosenPrintsTitleAndDate();
    void rowsOfTheParameterSections();
    void numbers_data();
    void numbers();
    void dateLine_data();
    void dateLine();
};

void TestPrintReport::lines_data() {
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("points");

    struct Row {
        const char *name;
        int offset;
        QString text;
        int x, y;
        int points = 11;
    };
    const int E = 10000;
    const Row rows[] = {
        {"ja title", 0, QStringLiteral("QV PC-Software"), 0, 0},
        {"ja file", 0, QStringLiteral("ファイル名:qvdata1.qvd"), 1500, 900},
        {"en file", E, QStringLiteral("File Name:qvdata1.qvd"), 1500, 900},
        {"ja moving rule", 0, rule(QStringLiteral("動作設定"), 54), 1500, 1200},
        {"en moving rule", E, rule(QStringLiteral("Moving Settings"), 54), 1500, 1200},
        {"en pulse head", E, QStringLiteral("Position(pulse)"), 7000, 1600},
        {"ja position 1", 0, QStringLiteral("位置１"), 1500, 2000},
        // Too wide for its column at 11 points: a smaller size keeps it clear of the VEL value.
        {"en position 2", E, QStringLiteral("Position 2"), 1500, 2400, 9},
        {"en pausing time head", E, QStringLiteral("Pausing time"), 5500, 1600},
        {"VEL 1", 0, QStringLiteral(" 12 "), 2500, 2000},
        {"pulse 1", E, QStringLiteral(" 1000 "), 7000, 2000},
        {"pulse 2", 0, QStringLiteral(" 16777215 "), 7000, 2400},
        {"ja sensor rule", 0, rule(QStringLiteral("ｾﾝｻﾊﾟﾗﾒｰﾀ"), 45), 1500, SensorRuleY},
        {"separate timer value", 0, QStringLiteral(" 11 "), 4500, SensorRow1Y},
        {"en SP1", E, QStringLiteral("SP1"), 1500, SensorRow1Y + 6 * 400},
        {"ja homing rule", 0, rule(QStringLiteral("原点復帰ﾊﾟﾗﾒｰﾀ"), 42), 1500, HomingRuleY},
        {"offset pulse value", E, QStringLiteral(" 599 "), 4500, HomingRow1Y + 3 * 400},
    };
    for (const Row &r : rows)
        QTest::newRow(r.name) << r.offset << r.text << r.x << r.y << r.points;
}

// Each line at its place, in the language's font at 11 points unless it is a label too wide.
void TestPrintReport::lines() {
    QFETCH(int, offset);
    QFETCH(QString, text);
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(int, points);
    setLangOffset(qint16(offset));

    const PageRecord page = printed(fileChoice());

    const PageRecord::Item item = page.find(text);
    QCOMPARE(item.text, text);
    QCOMPARE(item.x, x);
    QCOMPARE(item.y, y);
    QCOMPARE(item.font, offset == 0 ? QStringLiteral("ＭＳ 明朝") : QStringLiteral("MS GOTHIC"));
    QCOMPARE(item.points, points);
    QCOMPARE(page.ended, 1);
    // A label drawn smaller leaves the items after it in the report's own size.
    QCOMPARE(page.items.last().points, 11);
}

void TestPrintReport::nothingChosenPrintsTitleAndDate_data() {
    // The program's default locale: the Japanese window makes it Japanese.
    QTest::addColumn<QLocale>("programLocale");
    QTest::newRow("Japanese window") << QLocale(QLocale::Japanese, QLocale::Japan);
    QTest::newRow("English window") << QLocale(QLocale::English, QLocale::UnitedKingdom);
}

// Before any choice was made (both flags false) the report is the title and the date only. The
// date is in the system's regional formats whatever the program's language.
void TestPrintReport::nothingChosenPrintsTitleAndDate() {
    QFETCH(QLocale, programLocale);
    QLocale::setDefault(programLocale);
    const PageRecord page = printed(PrintSelection{});
    QLocale::setDefault(QLocale::system());
    QCOMPARE(page.items.size(), 2);
    QCOMPARE(page.items[0].text, QStringLiteral("QV PC-Software"));
    QCOMPARE(page.items[1].text,
             Report::dateLine(QDateTime(QDate(2026, 12, 8), QTime(13, 5, 9)), QLocale::system()));
    QCOMPARE(page.items[1].y, L);
    QCOMPARE(page.ended, 1);
}

// Seven sensor rows and four homing rows, each label with its value; the rotation direction is
// not printed.
void TestPrintReport::rowsOfTheParameterSections() {
    setLangOffset(10000);
    const PageRecord page = printed(fileChoice());
    QStringList labels;
    QStringList values;
    for (const PageRecord::Item &item : page.items) {
        if (item.y < SensorRow1Y)
            continue;
        (item.x == 1500 ? labels : values).append(item.text);
        QVERIFY(item.x == 1500 || item.x == 4500);
    }
    labels.removeAll(rule(QStringLiteral("Homing parameters"), 42));
    QCOMPARE(labels,
             (QStringList{"Separate timer", "Supply counter", "Restart Delay", "Mid Detect counter",
                          "No work counter", "Tip work off timer", "SP1", "Homing VEL",
                          "Homing Pulse", "Offset Moving VEL", "Home Position Offset"}));
    QCOMPARE(values, (QStringList{" 11 ", " 12 ", " 13 ", " 14 ", " 15 ", " 16 ", " 17 ", " 2 ",
                                  " 600 ", " 16 ", " 599 "}));
}

void TestPrintReport::numbers_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("largest pulse") << 16777215 << QStringLiteral(" 16777215 ");
    QTest::newRow("negative takes the blank's place") << -5 << QStringLiteral("-5 ");
}

void TestPrintReport::numbers() {
    QFETCH(int, value);
    QFETCH(QString, text);
    QCOMPARE(Report::number(value), text);
}

void TestPrintReport::dateLine_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("line");
    QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates)
                           << QStringLiteral("12/8/26  1:05:09 PM");
    QTest::newRow("ja_JP") << QLocale(QLocale::Japanese, QLocale::Japan)
                           << QStringLiteral("2026/12/08  13時05分09秒");
}

// The date and the clock time in the regional formats, two blanks apart, without a time zone.
void TestPrintReport::dateLine() {
    QFETCH(QLocale, locale);
    QFETCH(QString, line);
    QCOMPARE(Report::dateLine(QDateTime(QDate(2026, 12, 8), QTime(13, 5, 9)), locale), line);
}

QV_TEST_CORE_MAIN(TestPrintReport)
#include "tst_printreport.moc"
