#include "gui/Twips.h"

#include <QWidget>

void Twips::placeBesideMain(QWidget *window, const QWidget *mainWindow) {
    if (!window || !mainWindow)
        return;
    const int offset = toPixels(500);
    window->move(mainWindow->frameGeometry().topLeft() + QPoint(offset, offset));
}
