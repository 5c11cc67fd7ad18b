#pragma once

#include "link/PortCheck.h"

#include <QList>

class ControllerLink;

// One COM number of the port map with what stands behind it now.
struct PortEntry {
    int portNo = 0;
    PortCheck check;
};

// Every COM number that maps to a device, new devices under the numbers they are seen by; stores
// nothing. The port this program has open is reported as open here rather than tried again.
QList<PortEntry> surveyPorts(ControllerLink &link);

// One line per number, the fields separated by tabs: COMn, the map's path, the device it resolves
// to, description, manufacturer, serial number, state.
QString portTable(const QList<PortEntry> &entries);
