#pragma once

#include "cli/CliOptions.h"

struct OpResult;
class QJsonArray;
class QTextStream;

// write and verify on several controllers at once. Each controller gets a session of its own in
// a thread of its own, so the waits for the replies overlap and eight controllers take about as
// long as one. The file is checked and the write question asked once, before any controller is
// touched; then each controller's messages are printed under its port's name, and one line per
// controller on standard output: the port, a tab, OK, DIFFERENT or FAILED (a tab, the reason).
// With --json, one document instead: each controller's own document with its verdict.
class CliFleet {
public:
    CliFleet(const CliRequest &request, QTextStream &out, QTextStream &err);

    // Exit status: 0 only when every controller is OK.
    int run();

private:
    // The run's exit status; with --json, the document of the whole run printed first.
    int ended(const OpResult &result, const QJsonArray &controllers);

    const CliRequest &m_request;
    QTextStream &m_out;
    QTextStream &m_err;
};
