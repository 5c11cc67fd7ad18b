#pragma once

#include "data/QvData.h"

#include <QDateTime>
#include <QString>

class QLocale;
class ReportPage;
struct PrintSelection;

// The printed report of one QV data set: title, date and time, the chosen file's name, then the
// position data, the sensor parameters and the homing parameters at fixed positions in twips.
// Prints on page and ends the document; returns false when the page could not be finished.
bool PrintSetData(ReportPage &page, const QvData &data, const PrintSelection &selection,
                  const QDateTime &now);

namespace Report {

constexpr int FontPoints = 11;
// Left edge of the labels and of the section rules; the columns of the position rows.
constexpr int LabelX = 1500;
constexpr int PositionColumnX[] = {2500, 3500, 4500, 5500, 7000};
// Values of the sensor and homing rows.
constexpr int ValueX = 4500;
// Least room between a label's end and the next item on its line.
constexpr int LabelGap = 100;
constexpr int FileLineY = 900;
constexpr int PositionRuleY = 1200;
constexpr int PositionHeadY = 1600;
constexpr int RowStep = 400;
constexpr int SensorGap = 600; // below position 2's row, taken twice
constexpr int HomingGap = 600; // below the last sensor row

// A number as the report prints it: a blank (or the minus sign) in front, a blank behind.
QString number(qint32 value);
// The date and time line in the locale's short date and long time formats.
QString dateLine(const QDateTime &now, const QLocale &locale);

} // namespace Report
