#pragma once

#include <QString>

struct QvData;

// Every item of a data set, one a line: group name, item name and value separated by tabs, in the
// order of the main window (position 1, position 2, sensor parameters, homing parameters).
QString itemListing(const QvData &data);
