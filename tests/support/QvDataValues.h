#pragma once

#include "data/QvItems.h"

#include <array>

// A data set from its 22 values in the item table's order: VEL, ACC, DEC, pausing time and pulses
// of position 1, the same of position 2, the seven sensor parameters, the rotation direction and
// the four homing parameters.
inline QvData qvDataOf(const std::array<qint32, QvItemCount> &values) {
    QvData d;
    for (size_t i = 0; i < values.size(); ++i)
        QvItems[i].set(d, values[i]);
    return d;
}
