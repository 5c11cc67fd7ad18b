#include "data/QvItems.h"

#include "base/ResText.h"

#include <algorithm>

namespace {

constexpr qint32 LargestPulse = 0xFFFFFF;

constexpr QvItem s(QvGroup g, int label, qint32 low, qint32 high, qint16 QvData::*field) {
    return {g, label, low, high, field, nullptr};
}
constexpr QvItem l(QvGroup g, int label, qint32 low, qint32 high, qint32 QvData::*field) {
    return {g, label, low, high, nullptr, field};
}

using G = QvGroup;
using D = QvData;

} // namespace

// Each position: VEL, ACC, DEC, pausing time, pulses.
#define QV_POSITION(g, vel, acc, dec, pause, pulse)                                                \
    s(g, 29, 1, 30, vel), s(g, 30, 1, 9, acc), s(g, 31, 1, 9, dec), s(g, 32, 0, 255, pause),       \
        l(g, 33, 0, LargestPulse, pulse)

const std::array<QvItem, QvItemCount> QvItems = {
    {QV_POSITION(G::Position1, &D::Vel1, &D::Acc1, &D::Dec1, &D::PauseTime1, &D::Pulse1),
     QV_POSITION(G::Position2, &D::Vel2, &D::Acc2, &D::Dec2, &D::PauseTime2, &D::Pulse2),
     s(G::Sensor, 37, 1, 255, &D::SeparateTimer), s(G::Sensor, 38, 1, 255, &D::SupplyCounter),
     s(G::Sensor, 39, 1, 255, &D::RestartDelay), s(G::Sensor, 40, 1, 255, &D::MidDetectCounter),
     s(G::Sensor, 41, 1, 255, &D::NoWorkCounter), s(G::Sensor, 42, 1, 255, &D::TipWorkOffTimer),
     s(G::Sensor, 43, 0, 255, &D::Sp1), s(G::Sensor, 243, 0, 1, &D::RevDir),
     s(G::Homing, 45, 1, 16, &D::HomingVel), l(G::Homing, 46, 1, 600, &D::HomingPulse),
     s(G::Homing, 47, 1, 16, &D::OffsetVel), l(G::Homing, 48, 1, 600, &D::OffsetPulse)}};

namespace {

template <typename Pick> const QvItem &itemWhere(Pick picked) {
    const auto it = std::find_if(QvItems.begin(), QvItems.end(), picked);
    if (it == QvItems.end())
        qFatal("QvData field without an item");
    return *it;
}

} // namespace

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
    const QString crLf = QStringLiteral("\r\n");
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
            list += lines[int(g)] + crLf;
    }
    for (QvGroup g : {QvGroup::Sensor, QvGroup::Homing}) {
        if (!lines[int(g)].isEmpty())
            list = crLf + list + lines[int(g)] + crLf;
    }
    return list;
}
