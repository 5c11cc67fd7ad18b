#pragma once

#include <QByteArray>
#include <QString>

// One way the simulated controller misbehaves, for the lines that begin with `match`.
struct SimFault {
    QString match;        // lines that begin with this text; empty: every line
    int times = -1;       // how many lines it spoils; -1: all of them
    bool silent = false;  // no answer at all
    bool drop = false;    // the line goes dead (adapter pulled out) instead of an answer
    QString errorCode;    // answer "0%%" + code instead
    QString reply;        // answer this text (CR LF added) instead
    int lengthDelta = 0;  // characters added (> 0) or taken away (< 0) before the CR LF
    QString prefix;       // replaces the first three characters of the answer
    int pieces = 1;       // the answer leaves in this many pieces ...
    int pieceGapMs = 30;  // ... this far apart
    QByteArray trailing;  // characters sent after the CR LF
    int delayMs = 0;      // the answer leaves this much later than it would
    int overwriteAt = -1; // the answer's characters from this index on (0: the first) ...
    QByteArray overwrite; // ... are replaced by these, as many as there are

    // The answer as this fault spoils it.
    QByteArray apply(const QByteArray &answer) const;
};
