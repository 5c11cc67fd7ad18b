#include "link/LineErrors.h"

#include "base/ResText.h"

#include <QStringList>

QString lineErrorsSinceCommand(const SerialLine &port) {
    const unsigned flags = port.lineErrors();
    QStringList seen;
    if (flags & WinCommIo::FramingError)
        seen << ResText(1624);
    if (flags & (WinCommIo::Overrun | WinCommIo::InputOverflow))
        seen << ResText(1625);
    if (flags & WinCommIo::ParityError)
        seen << ResText(1626);
    if (flags & WinCommIo::BreakSeen)
        seen << ResText(1627);
    return seen.isEmpty() ? QString() : ResText(1623).arg(seen.join(QStringLiteral(", ")));
}
