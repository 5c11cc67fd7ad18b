#include "data/QvItems.h"

#include "base/MessageLines.h"
#include "base/ResText.h"

#include <algorithm>

namespace {

constexpr qint32 LargestPulse = 0xFFFFFF;

// Typed fields take the item's own range when left, unless the table names another.
constexpr QvTyping Untyped{}, Two{2, 0, -1}, Three{3, 0, -1};
// Left with a value outside these, a field is emptied even where its item allows the value: a VEL
// of 0 passes (the range check reports it), positions stop at 400, offsets at 100.
constexpr QvTyping VelField{2, 0, 30}, PositionField{3, 0, 400}, OffsetField{3, 1, 100};

constexpr QvTyping within(QvTyping t, qint32 low, qint32 high) {
    return t.high < t.low ? QvTyping{t.digits, low, high} : t;
}
constexpr QvItem s(QvGroup g, int label, qint32 low, qint32 high, const char *name,
                   qint16 QvData::*field, QvTyping t = Three) {
    return {g, label, low, high, field, nullptr, name, within(t, low, high)};
}
constexpr QvItem l(QvGroup g, int label, qint32 low, qint32 high, const char *name,
                   qint32 QvData::*field, QvTyping t = Three) {
    return {g, label, low, high, nullptr, field, name, within(t, low, high)};
}

using G = QvGroup;
using D = QvData;

} // namespace

// The field and its name from one spelling.
#define QV_FIELD(field) #field, &D::field

// Each position: VEL, ACC, DEC, pausing time, pulses.
#define QV_POSITION(g, vel, acc, dec, pause, pulse)                                                \
    s(g, 29, 1, 30, vel, VelField), s(g, 30, 1, 9, acc, Untyped), s(g, 31, 1, 9, dec, Untyped),    \
        s(g, 32, 0, 255, pause), l(g, 33, 0, LargestPulse, pulse, PositionField)

const std::array<QvItem, QvItemCount> QvItems = {
    {QV_POSITION(G::Position1, QV_FIELD(Vel1), QV_FIELD(Acc1), QV_FIELD(Dec1), QV_FIELD(PauseTime1),
                 QV_FIELD(Pulse1)),
     QV_POSITION(G::Position2, QV_FIELD(Vel2), QV_FIELD(Acc2), QV_FIELD(Dec2), QV_FIELD(PauseTime2),
                 QV_FIELD(Pulse2)),
     s(G::Sensor, 37, 1, 255, QV_FIELD(SeparateTimer)),
     s(G::Sensor, 38, 1, 255, QV_FIELD(SupplyCounter)),
     s(G::Sensor, 39, 1, 255, QV_FIELD(RestartDelay)),
     s(G::Sensor, 40, 1, 255, QV_FIELD(MidDetectCounter)),
     s(G::Sensor, 41, 1, 255, QV_FIELD(NoWorkCounter)),
     s(G::Sensor, 42, 1, 255, QV_FIELD(TipWorkOffTimer)),
     s(G::Sensor, 43, 0, 255, QV_FIELD(Sp1), Untyped),
     s(G::Sensor, 243, 0, 1, QV_FIELD(RevDir), Untyped),
     s(G::Homing, 45, 1, 16, QV_FIELD(HomingVel), Two),
     l(G::Homing, 46, 1, 600, QV_FIELD(HomingPulse)),
     s(G::Homing, 47, 1, 16, QV_FIELD(OffsetVel), Two),
     l(G::Homing, 48, 1, 600, QV_FIELD(OffsetPulse), OffsetField)}};

namespace {

template <typename Pick> const QvItem &itemWhere(Pick picked) {
    const auto it = std::find_if(QvItems.begin(), QvItems.end(), picked);
    if (it == QvItems.end())
        qFatal("QvData field without an item");
    return *it;
}

} // namespace

const QvItem *qvItemNamed(const QString &name) {
    const auto it = std::find_if(QvItems.begin(), QvItems.end(), [&name](const QvItem &item) {
        return name.compare(QLatin1String(item.name), Qt::CaseInsensitive) == 0;
    });
    return it == QvItems.end() ? nullptr : &*it;
}

const QvItem &qvItem(qint16 QvData::*field) {
    return itemWhere([field](const QvItem &item) { return item.shortField == field; });
}

const QvItem &qvItem(qint32 QvData::*field) {
    return itemWhere([field](const QvItem &item) { return item.longField == field; });
}

int groupHeadingId(QvGroup group) {
    switch (group) {
    case QvGroup::Position1:
        return 34;
    case QvGroup::Position2:
        return 35;
    case QvGroup::Sensor:
        return 36;
    case QvGroup::Homing:
        break;
    }
    return 44;
}

QString groupedItemList(const std::function<bool(const QvItem &)> &marked, bool parametersActive) {
    QString lines[4];
    for (const QvItem &item : QvItems) {
        if ((item.isParameter() && !parametersActive) || !marked(item))
            continue;
        QString &line = lines[int(item.group)];
        if (line.isEmpty())
            line = ResText(groupHeadingId(item.group)) + QStringLiteral(" - ");
        line += ResText(item.labelId) + u',';
    }
    QString list;
    for (QvGroup g : {QvGroup::Position1, QvGroup::Position2}) {
        if (!lines[int(g)].isEmpty())
            list += lines[int(g)] + CrLf;
    }
    for (QvGroup g : {QvGroup::Sensor, QvGroup::Homing}) {
        if (!lines[int(g)].isEmpty())
            list = CrLf + list + lines[int(g)] + CrLf;
    }
    return list;
}
