#pragma once

#include "iomon/IoSignals.h"

#include <QList>

// The I/O monitor's last minute for the window's strip chart: the nine signals' states at each
// good read, as traces and counts. A read's states hold until the next read; the time between a
// stop of monitoring and the next start is unknown and shows as no trace.
class IoTimeline {
public:
    static constexpr qint64 SpanMs = 60000;

    // A stretch of time in which a signal kept one state.
    struct Segment {
        qint64 fromMs;
        qint64 toMs;
        bool on;
        bool operator==(const Segment &) const = default;
    };

    void clear();
    // One good read at ms (on the caller's clock, never before the last read).
    void add(qint64 ms, const IoPorts &ports);
    // Monitoring stopped: the next read starts a new stretch.
    void breakRun();

    bool isEmpty() const { return m_samples.isEmpty(); }
    // The time of the first read since clear (the time axis counts from it) and of the last.
    qint64 originMs() const { return m_origin; }
    qint64 endMs() const { return m_samples.isEmpty() ? 0 : m_samples.last().ms; }
    // The shown minute ends at the last read.
    qint64 startMs() const { return endMs() - SpanMs; }

    // The signal's stretches in the shown minute, clipped to it, in time order, neighbours of the
    // same state joined.
    QList<Segment> trace(int signal) const;
    // How often the signal went from off to on between two reads of the shown minute.
    int switchedOn(int signal) const;
    // Its time on as a share (0 to 1) of the known time of the shown minute; 0 when none is known.
    double onShare(int signal) const;

private:
    struct Sample {
        qint64 ms;
        quint16 states;
        bool startsRun;
    };

    // Drops the reads that no longer reach into the shown minute.
    void prune();

    QList<Sample> m_samples;
    qint64 m_origin = 0;
    bool m_breakPending = true;
};
