#include "iomon/IoTimeline.h"

#include <algorithm>

void IoTimeline::clear() {
    m_samples.clear();
    m_origin = 0;
    m_breakPending = true;
}

void IoTimeline::add(qint64 ms, const IoPorts &ports) {
    if (m_samples.isEmpty())
        m_origin = ms;
    // A clock that went back would draw a trace backwards; the read is taken as at the last one.
    ms = std::max(ms, endMs());
    m_samples.append({ms, IoSignals::states(ports), m_breakPending});
    m_breakPending = false;
    prune();
}

void IoTimeline::breakRun() {
    m_breakPending = true;
}

void IoTimeline::prune() {
    // A read is needed while the stretch it starts ends inside the shown minute.
    const qint64 start = startMs();
    qsizetype drop = 0;
    while (drop + 1 < m_samples.size() && m_samples[drop + 1].ms <= start)
        ++drop;
    m_samples.remove(0, drop);
}

QList<IoTimeline::Segment> IoTimeline::trace(int signal) const {
    QList<Segment> segments;
    const qint64 start = startMs();
    for (qsizetype i = 0; i + 1 < m_samples.size(); ++i) {
        const Sample &s = m_samples[i];
        const Sample &next = m_samples[i + 1];
        // The last read before a stop holds only for itself.
        if (next.startsRun)
            continue;
        const Segment seg{std::max(s.ms, start), next.ms, IoSignals::stateOf(s.states, signal)};
        if (seg.toMs <= seg.fromMs)
            continue;
        if (!segments.isEmpty() && segments.last().on == seg.on &&
            segments.last().toMs == seg.fromMs)
            segments.last().toMs = seg.toMs;
        else
            segments.append(seg);
    }
    return segments;
}

int IoTimeline::switchedOn(int signal) const {
    const qint64 start = startMs();
    int n = 0;
    for (qsizetype i = 1; i < m_samples.size(); ++i) {
        const Sample &s = m_samples[i];
        if (s.ms > start && !s.startsRun && IoSignals::stateOf(s.states, signal) &&
            !IoSignals::stateOf(m_samples[i - 1].states, signal))
            ++n;
    }
    return n;
}

double IoTimeline::onShare(int signal) const {
    qint64 known = 0;
    qint64 on = 0;
    for (const Segment &s : trace(signal)) {
        known += s.toMs - s.fromMs;
        on += s.on ? s.toMs - s.fromMs : 0;
    }
    return known > 0 ? double(on) / double(known) : 0.0;
}
