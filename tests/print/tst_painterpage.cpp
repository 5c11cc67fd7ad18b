// The report page drawn with QPainter: twips become device pixels by the device's resolution,
// and a text's line starts at its print position. The report on a PDF page, measured with the
// fonts it prints in: no text runs into the next one on its line. (That the report's font names
// resolve to the IPA fonts is checked on the PDF qvpc-cli writes.)
#include "base/ResText.h"
#include "print/PainterPage.h"
#include "print/PdfPage.h"
#include "print/PrintReport.h"
#include "print/PrintSelection.h"
#include "print/ReportFonts.h"
#include "support/TestEnvironment.h"

#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>

namespace {

// 144 dots per inch: one pixel is 10 twips.
constexpr double DotsPerMeter = 144 / 0.0254;

QImage blankImage() {
    QImage image(900, 600, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(DotsPerMeter));
    image.setDotsPerMeterY(qRound(DotsPerMeter));
    image.fill(Qt::white);
    return image;
}

// The smallest rectangle holding every dark pixel inside area.
QRect inkIn(const QImage &image, const QRect &area) {
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

// A PDF page that also keeps each text's place and width in twips, as the page measures them.
class MeasuredPdf : public PdfPage {
public:
    struct Item {
        int x, y, width;
        QString text;
    };
    using PdfPage::PdfPage;
    QList<Item> items;

protected:
    void drawText(int x, int y, const QString &text) override {
        items.append({x, y, textWidth(text), text});
        PdfPage::drawText(x, y, text);
    }
};

// The widest values each item can hold.
QvData widest() {
    QvData d;
    d.Vel1 = d.Vel2 = 30, d.Acc1 = d.Acc2 = d.Dec1 = d.Dec2 = 9;
    d.PauseTime1 = d.PauseTime2 = 255, d.Pulse1 = d.Pulse2 = 16777215;
    d.SeparateTimer = d.SupplyCounter = d.RestartDelay = d.MidDetectCounter = 255;
    d.NoWorkCounter = d.TipWorkOffTimer = d.Sp1 = 255;
    d.HomingVel = d.OffsetVel = 16, d.HomingPulse = d.OffsetPulse = 600;
    return d;
}

} // namespace

class TestPainterPage : public QObject {
    Q_OBJECT
private slots:
    void textAtItsTwips();
    void reportItemsKeepClear_data();
    void reportItemsKeepClear();
    void familyAsTheDatabaseSpellsIt_data();
    void familyAsTheDatabaseSpellsIt();
};

void TestPainterPage::familyAsTheDatabaseSpellsIt_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("drawnIn");
    QTest::newRow("Windows name") << "MS Gothic"
                                  << "IPAGothic";
    QTest::newRow("full-width Windows name") << QStringLiteral("ＭＳ 明朝") << "IPAMincho";
    QTest::newRow("a family the system has") << "DejaVu Sans"
                                             << "DejaVu Sans";
    QTest::newRow("unknown") << "No Such Family"
                             << "No Such Family";
}

// A Windows font name the system lacks is drawn in its stand-in, spelt as the font database spells
// it (Qt keeps substitutes in lower case; Windows' print engine wants the exact face name).
void TestPainterPage::familyAsTheDatabaseSpellsIt() {
    QFETCH(QString, family);
    QFETCH(QString, drawnIn);
    installReportFontSubstitutes();
    QCOMPARE(reportFamily(family), drawnIn);
}

void TestPainterPage::reportItemsKeepClear_data() {
    QTest::addColumn<int>("offset");
    QTest::newRow("Japanese") << 0;
    QTest::newRow("English") << int(StringTable::EnglishOffset);
}

// Every text of the report ends at least LabelGap before the next text on its line and inside
// the page's printable width; every label of the language is among them.
void TestPainterPage::reportItemsKeepClear() {
    QFETCH(int, offset);
    setLangOffset(qint16(offset));
    QTemporaryDir dir;
    MeasuredPdf page(dir.filePath(QStringLiteral("report.pdf")));
    PrintSelection selection;
    selection.FilePosiPrint = true;
    selection.PrintFileTitle = QStringLiteral("qvdata1.qvd");
    QVERIFY(PrintSetData(page, widest(), selection, QDateTime(QDate(2026, 12, 8), QTime(13, 5))));

    QList<MeasuredPdf::Item> items = page.items;
    std::sort(items.begin(), items.end(),
              [](const auto &a, const auto &b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
    // A4 less the margins on both sides.
    const int printable = qRound((210 / 25.4 * 72 - 2 * PdfPage::MarginPoints) * 20);
    for (qsizetype i = 0; i < items.size(); ++i) {
        const MeasuredPdf::Item &a = items[i];
        const QString where =
            QStringLiteral("'%1' at %2, %3, %4 wide").arg(a.text).arg(a.x).arg(a.y).arg(a.width);
        QVERIFY2(a.x + a.width <= printable, qPrintable(where));
        if (i + 1 < items.size() && items[i + 1].y == a.y)
            QVERIFY2(
                a.x + a.width + Report::LabelGap <= items[i + 1].x,
                qPrintable(where + QStringLiteral(", next at ") + QString::number(items[i + 1].x)));
    }
    QStringList texts;
    for (const MeasuredPdf::Item &item : items)
        texts << item.text;
    for (int id = 29; id <= 48; ++id) {
        if (id != 36 && id != 44) // the section headings are within their rules
            QVERIFY2(texts.contains(ResText(id)), qPrintable(ResText(id)));
    }
}

// "QV" at X 1500, Y 900 starts at pixel 150, 90; after a line end the next text starts one line
// further down at X 0.
void TestPainterPage::textAtItsTwips() {
    QImage image = blankImage();
    int lineHeight = 0;
    {
        PainterPage page(image);
        page.setFont(QStringLiteral("MS GOTHIC"), 11);
        page.atX(1500);
        page.atY(900);
        page.printLine(QStringLiteral("QV"));
        QCOMPARE(page.currentX(), 0);
        lineHeight = page.currentY() - 900;
        QVERIFY2(lineHeight > 11 * 20 && lineHeight < 11 * 40,
                 qPrintable(QString::number(lineHeight)));
        page.print(QStringLiteral("QV"));
        QVERIFY(page.currentX() >= 200); // two half-width letters of 11 points: 220 twips
        QVERIFY(page.endDoc());
    }

    const QRect first = inkIn(image, QRect(100, 60, 300, 60));
    QVERIFY2(first.left() >= 150 && first.left() <= 153, qPrintable(QString::number(first.left())));
    QVERIFY2(first.top() >= 90 && first.top() <= 90 + 8, qPrintable(QString::number(first.top())));
    QVERIFY(first.bottom() < 90 + lineHeight / 10);
    const int secondTop = 90 + lineHeight / 10;
    const QRect second = inkIn(image, QRect(0, secondTop, 100, 40));
    QVERIFY(!second.isNull());
    QVERIFY2(second.left() <= 3, qPrintable(QString::number(second.left())));
    QVERIFY(second.top() <= secondTop + 8);
}

QV_TEST_MAIN_WITH(QGuiApplication, TestPainterPage)
#include "tst_painterpage.moc"
