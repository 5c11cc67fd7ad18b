#pragma once

#include <QString>

// The system's own viewer for compiled help files, where it has one: HTML Help on Windows, which
// shows the file's default topic (NativeHelpWin.cpp). Other systems have none
// (NativeHelpNone.cpp); there the desktop's viewer or the HTML manual stands in.
namespace NativeHelp {

// Shows the help file with the system's viewer; false where there is none or it did not start.
bool show(const QString &helpFile);

} // namespace NativeHelp
