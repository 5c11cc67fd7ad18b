// The COM ports of Windows, as the system lists them.
#include "link/PortMap.h"

#include "link/WinSerialLine.h"

QList<SerialDevice> PortMap::systemDevices() {
    QList<SerialDevice> devices;
    const QList<WinSerialLine::SystemPort> ports = WinSerialLine::systemPorts();
    for (const WinSerialLine::SystemPort &port : ports) {
        // USB adapters' drivers name their devices after the bus or the maker (\Device\VCP0,
        // \Device\USBSER000, \Device\Silabser0); the board's own ports are \Device\Serial0 ...
        devices.append(
            {port.name, !port.device.startsWith(QLatin1String("\\Device\\Serial")), QString()});
    }
    return devices;
}
