// The identity of a COM port on Windows: its COM name, which the system gives each port once.
// The system opens a COM port for one program only, so holding it asks nothing more.
#include "link/PortIdentity.h"

QString PortIdentity::ofDevice(const QString &path) {
    QString name = path.toUpper();
    if (name.startsWith(QLatin1String("\\\\.\\")))
        name.remove(0, 4);
    return name;
}

QString PortIdentity::openName(const QString &path) {
    return path;
}

bool PortIdentity::hold(qintptr) {
    return true;
}
