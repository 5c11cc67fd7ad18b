#pragma once

#include <QString>
#include <QStringList>

// Message texts keep their CR LF line breaks inside the program; a box shows each as one break.
inline const QString CrLf = QStringLiteral("\r\n");

// The lines of one message.
inline QString joinLines(const QStringList &lines) {
    return lines.join(CrLf);
}
