#pragma once

#include "sim/ControllerSimulator.h"

#include <QStringList>

class ControllerLink;
class QWidget;

// The built-in simulated controller of "qvpc --demo": a controller simulator served on a pty
// inside the program and reached through every port number, so that the program can be tried
// without a controller or a serial adapter.
class DemoController {
public:
    static constexpr char Option[] = "--demo";
    static bool requested(const QStringList &arguments) { return arguments.contains(Option); }
    // How much each move's time varies either way, and the seed of that variation.
    static constexpr double DemoJitter = 0.04;
    static constexpr quint32 DemoSeed = 1;

    // Starts the simulator and points the link at it.
    explicit DemoController(ControllerLink &link);

    bool isRunning() const { return m_sim.isOpen(); }
    QString devicePath() const { return m_sim.devicePath(); }
    QString errorString() const { return m_sim.errorString(); }

    // Names the simulated port in a label of the window's status bar (once per window).
    void showIn(QWidget *mainWindow) const;

private:
    ControllerSimulator m_sim;
};
