#pragma once

#include "base/OpResult.h"

#include <QList>
#include <array>
#include <utility>

class IoMonitor;
class QTextStream;

// qvpc-cli io: the I/O block read once, watched at the window's rhythm, or outputs switched,
// through the I/O monitor the window uses. Each returns what became of it (a failure has been
// told).
class IoCommand {
public:
    IoCommand(IoMonitor &monitor, QTextStream &out) : m_monitor(monitor), m_out(out) {}

    // One read; the nine signals, one a line.
    OpResult read();
    // Polls every 200 ms: the nine lines after the first read, then a line for each change.
    // Ends after `count` reads (0: no limit) or at SIGINT or SIGTERM.
    OpResult watch(int count);
    // Reads, sends one output pattern with these outputs (signal, on) and the others as read,
    // reads again and prints the nine lines.
    OpResult set(const QList<std::pair<int, bool>> &outputs);

private:
    OpResult notDone() const;
    void printAll();
    void printChanges();

    IoMonitor &m_monitor;
    QTextStream &m_out;
    std::array<bool, 9> m_shown{};
};
