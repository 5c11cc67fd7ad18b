#include "print/PrintReport.h"

#include "base/ResText.h"
#include "data/QvItems.h"
#include "print/PrintSelection.h"
#include "print/ReportPage.h"

#include <QLocale>
#include <QRegularExpression>

#include <iterator>

namespace {

using namespace Report;

constexpr int FontTextId = 224;
constexpr int FileNameTextId = 14;
constexpr int PositionsHeadingId = 28;

// "=== heading ====...": the section's title and its rule of width equal signs.
QString sectionRule(const QString &heading, int width) {
    return QStringLiteral("=== ") + heading + QLatin1Char(' ') + QString(width, u'=');
}

void printPositionRow(ReportPage &page, QvGroup group, const QvData &data) {
    page.down(RowStep);
    page.atX(LabelX);
    page.printBefore(ResText(groupHeadingId(group)), PositionColumnX[0] - LabelGap);
    int column = 0;
    for (const QvItem &item : QvItems) {
        if (item.group != group)
            continue;
        page.atX(PositionColumnX[column++]);
        page.print(number(item.get(data)));
    }
}

// One row per printed item of the group: its label, then its value. The rotation direction is
// not part of the report.
void printItemRows(ReportPage &page, QvGroup group, const QvData &data) {
    for (const QvItem &item : QvItems) {
        if (item.group != group || item.shortField == &QvData::RevDir)
            continue;
        page.down(RowStep);
        page.atX(LabelX);
        page.printBefore(ResText(item.labelId), ValueX - LabelGap);
        page.atX(ValueX);
        page.print(number(item.get(data)));
    }
}

} // namespace

QString Report::number(qint32 value) {
    const QString digits = QString::number(value);
    return (value < 0 ? digits : QLatin1Char(' ') + digits) + QLatin1Char(' ');
}

QString Report::dateLine(const QDateTime &now, const QLocale &locale) {
    // The long time format of some locales ends in the time zone, which a clock time leaves out.
    static const QRegularExpression zone(QStringLiteral("\\s*t+\\s*"));
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.replace(zone, QString());
    return locale.toString(now.date(), QLocale::ShortFormat) + QStringLiteral("  ") +
           locale.toString(now.time(), timeFormat);
}

bool PrintSetData(ReportPage &page, const QvData &data, const PrintSelection &selection,
                  const QDateTime &now) {
    page.setFont(ResText(FontTextId), FontPoints);
    page.printLine(QStringLiteral("QV PC-Software"));
    // The system's regional formats, whatever the program's language (the Japanese window makes
    // Japanese its default locale), so that both programs print the same line.
    page.printLine(dateLine(now, QLocale::system()));
    if (!selection.GridPosiPrint && !selection.FilePosiPrint)
        return page.endDoc();

    if (selection.FilePosiPrint) {
        page.atY(FileLineY);
        page.atX(LabelX);
        page.printLine(ResText(FileNameTextId) + QLatin1Char(':') + selection.PrintFileTitle);
    }

    page.atY(PositionRuleY);
    page.atX(LabelX);
    page.printLine(sectionRule(ResText(PositionsHeadingId), 54));
    page.atY(PositionHeadY);
    page.atX(LabelX);
    page.print(QString());
    // The last column's heading has nothing after it on its line.
    constexpr int Columns = int(std::size(PositionColumnX));
    int column = 0;
    for (const QvItem &item : QvItems) {
        if (item.group != QvGroup::Position1)
            continue;
        page.atX(PositionColumnX[column]);
        ++column;
        if (column < Columns)
            page.printBefore(ResText(item.labelId), PositionColumnX[column] - LabelGap);
        else
            page.print(ResText(item.labelId));
    }
    printPositionRow(page, QvGroup::Position1, data);
    printPositionRow(page, QvGroup::Position2, data);

    page.down(SensorGap);
    page.down(SensorGap);
    page.atX(LabelX);
    page.printLine(sectionRule(ResText(groupHeadingId(QvGroup::Sensor)), 45));
    printItemRows(page, QvGroup::Sensor, data);

    page.down(HomingGap);
    page.atX(LabelX);
    page.printLine(sectionRule(ResText(groupHeadingId(QvGroup::Homing)), 42));
    printItemRows(page, QvGroup::Homing, data);
    return page.endDoc();
}
