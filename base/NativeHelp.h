#pragma once

#include <QString>

// The system's own viewer for compiled help files, where it has one: HTML Help on Windows, which
// shows the file's default topic in a help window owned by the program's window
// (NativeHelpWin.cpp). Other systems have none (NativeHelpNone.cpp); there the desktop's viewer
// or the HTML manual stands in.
namespace NativeHelp {

// Whether the system has its own viewer; where it has, it alone shows the help file.
bool systemHasOne();

// Shows the help file's default topic in a help window owned by the window owner (its native
// id, 0 for none); false when it could not be shown.
bool show(const QString &helpFile, quintptr owner);

// Closes the help windows the program opened (at its end).
void closeAll();

} // namespace NativeHelp
