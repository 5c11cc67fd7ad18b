#include "cli/IoCommand.h"

#include "cli/JsonReport.h"
#include "cli/StopSignal.h"
#include "iomon/IoMonitor.h"
#include "iomon/IoRecorder.h"

#include <QEventLoop>
#include <QTextStream>
#include <QTime>

#include <memory>
#include <vector>

namespace {

QString state(bool on) {
    return on ? QStringLiteral("on") : QStringLiteral("off");
}

} // namespace

void IoCommand::printAll() {
    if (m_json) {
        m_json->insert(QStringLiteral("signals"), JsonReport::signalStates(m_monitor));
        return;
    }
    for (int i = 0; i < IoSignals::Count; ++i) {
        m_shown[size_t(i)] = m_monitor.lampOn(i);
        m_out << IoSignals::table()[size_t(i)].cliName << '\t' << state(m_shown[size_t(i)]) << '\n';
    }
    m_out.flush();
}

void IoCommand::printChanges() {
    const QString time = QTime::currentTime().toString(QStringLiteral("hh:mm:ss.zzz"));
    for (int i = 0; i < IoSignals::Count; ++i) {
        const bool on = m_monitor.lampOn(i);
        if (on == m_shown[size_t(i)])
            continue;
        m_shown[size_t(i)] = on;
        m_out << time << '\t' << IoSignals::table()[size_t(i)].cliName << '\t' << state(on) << '\n';
    }
    m_out.flush();
}

OpResult IoCommand::read() {
    m_monitor.reset();
    const OpResult result = m_monitor.tick();
    if (result.isDone())
        printAll();
    return result;
}

OpResult IoCommand::set(const QList<std::pair<int, bool>> &outputs) {
    m_monitor.reset();
    if (const OpResult read = m_monitor.tick(); !read.isDone())
        return read;
    for (const auto &[signal, on] : outputs)
        m_monitor.requestState(signal, on);
    const OpResult result = m_monitor.tick();
    if (result.isDone())
        printAll();
    return result;
}

OpResult IoCommand::watch(int count, const Recording &recording) {
    m_monitor.reset();
    // The files are ready before the first read, so that each holds the watch from its start.
    std::vector<std::unique_ptr<IoRecorder>> recorders;
    for (const auto &[path, format] : {std::pair{recording.vcd, IoRecordFile::Format::Vcd},
                                       std::pair{recording.csv, IoRecordFile::Format::Csv}}) {
        if (path.isEmpty())
            continue;
        recorders.push_back(std::make_unique<IoRecorder>(m_monitor, m_prompt));
        if (!recorders.back()->start(path, format))
            return recorders.back()->result();
    }
    int reads = 0;
    QEventLoop loop;
    QObject::connect(&m_monitor, &IoMonitor::lampsChanged, &loop, [&] {
        if (++reads == 1 && !recording.quiet)
            printAll();
        else if (!recording.quiet)
            printChanges();
        if (count > 0 && reads >= count)
            m_monitor.StopIoCheck();
    });
    QObject::connect(&m_monitor, &IoMonitor::monitoringChanged, &loop, [&](bool running) {
        if (!running)
            loop.quit();
    });
    OpResult recordFailed = OpResult::done();
    for (const auto &owned : recorders) {
        // A recording that stops while monitoring goes on lost its file: the watch ends with it.
        IoRecorder *recorder = owned.get();
        QObject::connect(recorder, &IoRecorder::recordingChanged, &loop, [&, recorder](bool on) {
            if (!on && !recorder->result().isDone()) {
                recordFailed = recorder->result();
                m_monitor.StopIoCheck();
            }
        });
    }
    StopSignal stop;
    QObject::connect(&stop, &StopSignal::received, &loop, [this] { m_monitor.StopIoCheck(); });
    m_monitor.toggleMonitoring();
    loop.exec();
    return m_monitor.failed() ? m_monitor.failure() : recordFailed;
}
