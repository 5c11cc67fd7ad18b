#pragma once

#include "link/Line.h"

#include <memory>

// The serial line of the platform built for: a serial device through Qt Serial Port, or a COM
// port through the Win32 communications API on Windows.
std::unique_ptr<Line> newSerialLine(QObject *parent = nullptr);
