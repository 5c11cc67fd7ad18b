#pragma once

#include "data/QvData.h"

#include <QString>
#include <array>
#include <functional>

// The one list of the 22 items of the QV data: where each lives in QvData, the group it belongs
// to, its label text, its range, how its editing field takes it and whether it is a parameter
// (sensor and homing items, which take part only while the parameter frames are shown). The range
// check, the editing fields, the verification report, the listings and the printed report read it
// in this order.
enum class QvGroup { Position1, Position2, Sensor, Homing };

// How an item's editing field takes it: how many digits may be typed (0: it is not typed into: a
// step control, the check box, or the spare field, which takes any key), and the range a typed
// value must lie in when the field is left.
struct QvTyping {
    int digits = 0;
    qint32 low = 0;
    qint32 high = 0;
};

struct QvItem {
    QvGroup group;
    int labelId; // text id of the item's label
    qint32 low;  // smallest value in range
    qint32 high; // largest value in range
    qint16 QvData::*shortField;
    qint32 QvData::*longField; // set instead of shortField for the 32-bit items
    const char *name;          // the QvData member's name, as the command line names the item
    QvTyping typing;

    bool isParameter() const { return group == QvGroup::Sensor || group == QvGroup::Homing; }
    qint32 get(const QvData &d) const { return shortField ? d.*shortField : d.*longField; }
    void set(QvData &d, qint32 value) const {
        if (shortField)
            d.*shortField = qint16(value);
        else
            d.*longField = value;
    }
    bool inRange(const QvData &d) const { return get(d) >= low && get(d) <= high; }
};

constexpr int QvItemCount = 22;
extern const std::array<QvItem, QvItemCount> QvItems;

// The entry of the item stored in `field`.
const QvItem &qvItem(qint16 QvData::*field);
const QvItem &qvItem(qint32 QvData::*field);

// The item of that name (its QvData member's name, any case); null when there is none.
const QvItem *qvItemNamed(const QString &name);

// Text id of a group's heading ("Position 1" ... "Homing parameters").
int groupHeadingId(QvGroup group);

// The items picked out by `marked`, listed as the range check and the verification report show
// them: a line per group that has any, "heading - name,name," and CR LF; the parameter groups
// (only while parametersActive) each put an empty line in front of what is listed so far.
QString groupedItemList(const std::function<bool(const QvItem &)> &marked, bool parametersActive);
