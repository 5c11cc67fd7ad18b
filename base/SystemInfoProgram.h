#pragma once

#include <QString>

// The system-information program the about box starts where the system has one: on Windows the
// one the registry names (SystemInfoProgramWin.cpp). Elsewhere there is none
// (SystemInfoProgramNone.cpp) and the program's own report stands in.
namespace SystemInfoProgram {

// Whether this kind of system has such a program at all (Windows).
bool systemHasOne();

// The program the registry names: the value "PATH" of HKLM\SOFTWARE\Microsoft\Shared
// Tools\MSINFO, else the value "MSINFO" of HKLM\SOFTWARE\Microsoft\Shared Tools Location with
// "\MSINFO32.EXE" appended when that file exists. Empty when neither names one.
QString path();

// Starts it in a normal window; false when none is named or it did not start.
bool start();

} // namespace SystemInfoProgram
