#pragma once

#include <QIODevice>

#include <cstdio>
#include <memory>

// Where standard output or error is a Windows console, the device that writes the program's text
// to it as UTF-16 characters (WriteConsoleW), so that any console code page (932, 65001 ...) shows
// Japanese right; null elsewhere: a terminal, a pipe or a file takes the text as UTF-8 bytes.
// (ConsoleStreamPosix.cpp, ConsoleStreamWin.cpp.)
namespace ConsoleStream {

// The device to write UTF-8 text to stream through, or null to write to it as it is.
std::unique_ptr<QIODevice> consoleOf(FILE *stream);

} // namespace ConsoleStream
