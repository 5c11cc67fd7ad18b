#pragma once

#include "base/OpResult.h"

#include <QList>
#include <array>
#include <utility>

class IoMonitor;
class QJsonObject;
class QTextStream;
class UserPrompt;

// qvpc-cli io: the I/O block read once, watched at the window's rhythm, or outputs switched,
// through the I/O monitor the window uses. Each returns what became of it (a failure has been
// told).
class IoCommand {
public:
    IoCommand(IoMonitor &monitor, UserPrompt &prompt, QTextStream &out)
        : m_monitor(monitor), m_prompt(prompt), m_out(out) {}

    // --json: the nine signals go into the document ("signals") instead of onto lines.
    void printInto(QJsonObject *document) { m_json = document; }
    // One read; the nine signals, one a line.
    OpResult read();
    // Where a watch records its reads, and whether it prints its lines.
    struct Recording {
        QString vcd;
        QString csv;
        bool quiet = false;
    };
    // Polls every 200 ms: the nine lines after the first read, then a line for each change,
    // each read recorded into the files asked for. Ends after `count` reads (0: no limit), at
    // SIGINT or SIGTERM, or when a recording's file cannot be written further (failed).
    OpResult watch(int count, const Recording &recording);
    // Reads, sends one output pattern with these outputs (signal, on) and the others as read,
    // reads again and prints the nine lines.
    OpResult set(const QList<std::pair<int, bool>> &outputs);

private:
    void printAll();
    void printChanges();

    IoMonitor &m_monitor;
    UserPrompt &m_prompt;
    QTextStream &m_out;
    std::array<bool, 9> m_shown{};
    QJsonObject *m_json = nullptr;
};
