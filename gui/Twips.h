#pragma once

class QWidget;

// Window sizes and offsets are given in twips: 1440 per inch, 15 per pixel at 96 dpi.
namespace Twips {

constexpr int PerPixel = 15;

constexpr int toPixels(int twips) {
    return twips / PerPixel;
}

// Places a secondary window 500 twips right of and below the main window's top left corner.
void placeBesideMain(QWidget *window, const QWidget *mainWindow);

} // namespace Twips
