// The report page drawn with QPainter: twips become device pixels by the device's resolution,
// and a text's line starts at its print position. (That the report's font names resolve to the
// IPA fonts is checked on the PDF qvpc-cli writes.)
#include "print/PainterPage.h"
#include "support/TestEnvironment.h"

#include <QGuiApplication>
#include <QImage>

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

} // namespace

class TestPainterPage : public QObject {
    Q_OBJECT
private slots:
    void textAtItsTwips();
};

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

int main(int argc, char *argv[]) {
    prepareTestEnvironment();
    QGuiApplication app(argc, argv);
    TestPainterPage tc;
    return QTest::qExec(&tc, argc, argv);
}
#include "tst_painterpage.moc"
