#include "app/DemoController.h"

#include "base/ResText.h"
#include "link/ControllerLink.h"

#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

namespace {
constexpr char LabelName[] = "lblDemoController";
}

DemoController::DemoController(ControllerLink &link) {
    // A real feeder's moves vary a little; a fixed seed keeps one demo like the next.
    m_sim.model().setMoveJitter(DemoJitter, DemoSeed);
    if (m_sim.isOpen())
        link.setDeviceOverride(m_sim.devicePath());
}

void DemoController::showIn(QWidget *mainWindow) const {
    auto *window = qobject_cast<QMainWindow *>(mainWindow);
    if (!window || !isRunning() || window->findChild<QLabel *>(QLatin1String(LabelName)))
        return;
    auto *label = new QLabel(ResText(1120).arg(m_sim.devicePath()), window->statusBar());
    label->setObjectName(QLatin1String(LabelName));
    window->statusBar()->addPermanentWidget(label);
}
