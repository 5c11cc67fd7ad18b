#pragma once

#include <QString>

// The report names the fonts a Windows PC has ("ＭＳ 明朝", "MS GOTHIC"). Here IPA Mincho and IPA
// Gothic stand in for them, so Japanese text prints with real glyphs instead of empty boxes.
// Safe to call more than once; needs a QGuiApplication.
void installReportFontSubstitutes();

// The family a report font is drawn in: the named one where the system has it, else its stand-in
// spelt as the font database spells it. Windows' print engine sends text in the printer's fonts
// only when the face it gets has the name asked for; otherwise it draws every glyph as a shape.
QString reportFamily(const QString &family);
