#pragma once

#include <QString>

class ControllerLink;

// What support staff ask for, as plain text: program and Qt versions, the operating system, the
// settings file with its values, and the port map with each device and whether it can be opened.
QString systemReport(ControllerLink &link);
