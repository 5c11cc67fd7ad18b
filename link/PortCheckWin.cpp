// Where a COM port is and why it cannot be opened, on Windows: the ports the system lists under
// HKLM\HARDWARE\DEVICEMAP\SERIALCOMM and the Win32 error of opening them.
#include "link/PortCheck.h"

#include "link/WinSerialLine.h"

#include <windows.h>

QString PortCheck::userName() {
    return qEnvironmentVariable("USERNAME");
}

PortCheck PortCheck::locatedDevice(const QString &path) {
    PortCheck check;
    check.mapPath = path;
    if (path.isEmpty())
        return check;
    // The system's own name of the port's device ("\Device\Serial0", "\Device\VCP0").
    const QList<WinSerialLine::SystemPort> ports = WinSerialLine::systemPorts();
    for (const WinSerialLine::SystemPort &port : ports) {
        if (port.name.compare(path, Qt::CaseInsensitive) == 0) {
            check.devicePath = port.name;
            check.description = port.device;
        }
    }
    return check;
}

PortCheck PortCheck::ofDevice(PortCheck check, const QString &path) {
    WinSerialLine port;
    if (port.open(path)) {
        port.close();
        check.state = State::Openable;
        return check;
    }
    check.classifyOpenError(int(port.systemCode()));
    return check;
}

PortCheck PortCheck::afterFailedOpen(const QString &path, bool notFound, const QString &error,
                                     unsigned long systemCode) {
    PortCheck check = located(path);
    if (path.isEmpty())
        return check;
    if (notFound) {
        check.state = State::Missing;
        return check;
    }
    // The open's own code, where the line kept it; a line set up on a port that opened keeps its
    // text.
    if (systemCode != 0) {
        check.classifyOpenError(int(systemCode));
        if (check.state == State::Failed && !error.isEmpty())
            check.systemError = error;
        return check;
    }
    // Without it, a plain open of the port gives it again.
    const QString device = WinSerialLine::devicePath(path);
    const HANDLE port =
        CreateFileW(reinterpret_cast<LPCWSTR>(device.utf16()), GENERIC_READ | GENERIC_WRITE, 0,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        check.classifyOpenError(int(GetLastError()));
        return check;
    }
    CloseHandle(port);
    // It opens now, but the line could not be set up on it.
    check.state = State::Failed;
    check.systemError = error;
    return check;
}

void PortCheck::classifyOpenError(int error) {
    switch (DWORD(error)) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        state = State::Missing;
        return;
    // A COM port is opened by one program at a time; Windows refuses the others with "access
    // denied".
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_BUSY:
        state = State::Busy;
        return;
    default:
        state = State::Failed;
        systemError = WinSerialLine::systemErrorText(DWORD(error));
        return;
    }
}
