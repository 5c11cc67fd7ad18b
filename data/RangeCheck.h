#pragma once

#include <QString>
#include <QtGlobal>

struct QvData;
class UserPrompt;

// The range check of a QvData set before it is written, saved, compared or printed.
namespace RangeCheck {

// The items outside their valid range, listed by group ("Position 1 - VEL,Pausing time," ...),
// each group line ended by CR LF; a sensor or homing group puts a CR LF in front of everything
// listed before it. Empty when every item looked at is in range. The sensor and homing items are
// looked at only when parametersActive.
QString outOfRangeList(const QvData &data, bool parametersActive);

// The whole message: 244, CR LF, 245, CR LF, then the list. Empty when every item is in range.
QString message(const QvData &data, bool parametersActive);

// Shows the message when an item is out of range. True when every item is in range.
bool Check_DataRange(const QvData &data, bool parametersActive, UserPrompt &prompt);

} // namespace RangeCheck
