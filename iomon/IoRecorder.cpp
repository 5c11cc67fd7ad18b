#include "iomon/IoRecorder.h"

#include "base/ResText.h"
#include "base/UserPrompt.h"
#include "iomon/IoMonitor.h"

IoRecorder::IoRecorder(IoMonitor &monitor, UserPrompt &prompt, QObject *parent)
    : QObject(parent), m_monitor(monitor), m_prompt(prompt) {
    connect(&m_monitor, &IoMonitor::portsRead, this, &IoRecorder::onRead);
    connect(&m_monitor, &IoMonitor::monitoringChanged, this, [this](bool running) {
        if (!running)
            stop();
    });
}

IoRecorder::~IoRecorder() = default;

bool IoRecorder::start(const QString &path, IoRecordFile::Format format) {
    stop();
    m_result = OpResult::done();
    auto file = std::make_unique<IoRecordFile>(format);
    if (!file->open(path)) {
        const QString told = ResText(1600).arg(path);
        m_prompt.MsgBox(told, MsgButtons::OkOnly, MsgIcon::Exclamation);
        m_result = OpResult::failed(OpResult::Failure::FileError, told);
        return false;
    }
    m_file = std::move(file);
    emit recordingChanged(true);
    return true;
}

void IoRecorder::stop() {
    if (!m_file)
        return;
    const QString path = m_file->fileName();
    if (!m_file->finish()) {
        writeFailed(path);
        return;
    }
    m_file.reset();
    emit recordingChanged(false);
}

void IoRecorder::onRead(qint64 ms, const IoPorts &ports) {
    if (m_file && !m_file->add(ms, ports))
        writeFailed(m_file->fileName());
}

void IoRecorder::writeFailed(const QString &path) {
    m_file.reset();
    const QString told = ResText(1453).arg(path);
    m_result = OpResult::failed(OpResult::Failure::FileError, told);
    emit recordingChanged(false);
    m_prompt.MsgBox(told, MsgButtons::OkOnly, MsgIcon::Exclamation);
}
