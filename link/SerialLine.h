#pragma once

// The serial port class of the platform: Qt Serial Port where Qt has it, a line of our own on the
// Win32 communications API on Windows. Both offer what the link uses: the port's name, opening,
// the line settings 9600 baud 8N1 without flow control, error() and errorOccurred().
#include <QtGlobal>

#ifdef Q_OS_WIN
#include "link/WinSerialLine.h"
using SerialLine = WinSerialLine;
#else
#include <QSerialPort>
using SerialLine = QSerialPort;
#endif
