#pragma once

#include "link/PortMap.h"

#include <QString>

// One controller named on the command line: COM N of the port map or a device path.
struct CliTarget {
    int portNo = 0;
    QString device;
    // "COM3" or the device path, as the results name it.
    QString name() const { return device.isEmpty() ? PortMap::comName(portNo) : device; }
    // The backup file for this controller: {port} replaced by "COM3" or the device's file
    // name ("ttyUSB0"; "pts1" for the pseudo-terminal /dev/pts/1).
    QString backupFile(const QString &pattern) const;
};
