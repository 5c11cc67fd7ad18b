#pragma once

#include <QString>

// Text from outside the program (a controller's reply, a file, the journal, the settings) as it
// may be shown: a control character or an invisible format character would move the cursor,
// clear a terminal or reorder what follows. One rule shows each as a backslash escape: "\x1b"
// below U+0100, "\u{202e}" above.
namespace VisibleText {

// The text with every such character shown by its escape; line breaks and tabs stay.
QString of(const QString &text);
// The same for a value shown inside a line of a message (a name the user gave): line breaks
// and tabs shown by their escapes too, so that the message stays one line.
QString inLine(const QString &text);
// Whether the text holds a control or format character, a line break or tab too.
bool hasControl(const QString &text);

} // namespace VisibleText
