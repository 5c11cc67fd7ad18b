#pragma once

#include <QString>
#include <QtGlobal>

// A port is the device, not the name it was given: a link, a ".." path or another spelling of
// one device is the same port, and so are two spellings of one network server. The link holds
// an opened device for itself alone, so that no second spelling and no second program gets onto
// a line in use.
class PortIdentity {
public:
    // What stays the same for every spelling of one port: for a device its device number (its
    // canonical path when it cannot be looked at), for a network line the host's
    // address as the name service gives it and the port. Two names of one port have one key.
    static QString of(const QString &name);
    // The name the serial layer is given for a device: its canonical path, so that the lock
    // files other serial programs look for carry the device's own name whatever link was used.
    static QString openName(const QString &path);
    // Holds the device opened as handle for this program alone, for as long as it is open.
    // False when someone holds it already.
    static bool hold(qintptr handle);

private:
    // The platform's key of a device path (PortIdentityPosix.cpp, PortIdentityWin.cpp).
    static QString ofDevice(const QString &path);
};
