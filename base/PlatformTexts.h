#pragma once

#include <QString>

// Texts that name the system the program runs on (PlatformTextsPosix.cpp, PlatformTextsWin.cpp).
namespace PlatformTexts {

// The string of the splash screen's line that names the system the program is built for.
int splashLineId();

// The forms a port entry of the port map takes here, as Options shows them in its empty field.
QString portEntryForms();

} // namespace PlatformTexts
