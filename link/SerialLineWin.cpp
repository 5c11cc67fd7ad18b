// The serial line on Windows: a COM port through the Win32 communications API.
#include "link/SerialLine.h"

#include "link/WinSerialLine.h"

std::unique_ptr<Line> newSerialLine(QObject *parent) {
    auto line = std::make_unique<WinSerialLine>(parent);
    line->setReadBufferSize(Line::MaxHeld);
    return line;
}
