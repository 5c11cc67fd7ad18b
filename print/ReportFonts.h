#pragma once

#include <QString>

// The report names the fonts a Windows PC has ("ＭＳ 明朝", "MS GOTHIC"). Here IPA Mincho and IPA
// Gothic stand in for them, so Japanese text prints with real glyphs instead of empty boxes.
// Safe to call more than once; needs a QGuiApplication.
void installReportFontSubstitutes();
