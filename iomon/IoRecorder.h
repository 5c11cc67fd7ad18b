#pragma once

#include "base/OpResult.h"
#include "iomon/IoRecordFile.h"

#include <QObject>

#include <memory>

class IoMonitor;
class UserPrompt;

// Records every good read of the I/O monitor into a file until it is stopped: the window's
// Record... button and qvpc-cli io --watch --vcd/--csv. The end of monitoring (stopped, Close, a
// failed read) ends the recording with a whole file; a file that cannot be written (a full disk)
// stops it with a message, the reads before it kept.
class IoRecorder : public QObject {
    Q_OBJECT
public:
    IoRecorder(IoMonitor &monitor, UserPrompt &prompt, QObject *parent = nullptr);
    ~IoRecorder() override;

    // Starts recording into path (created or replaced); false when it cannot be written, which
    // has been told.
    bool start(const QString &path, IoRecordFile::Format format);
    void stop();
    bool isRecording() const { return m_file != nullptr; }
    // How the last recording ended: done, or failed when its file could not be written.
    const OpResult &result() const { return m_result; }

signals:
    void recordingChanged(bool recording);

private:
    void onRead(qint64 ms, const IoPorts &ports);
    // The file stopped taking writes: told, the recording ended.
    void writeFailed(const QString &path);

    IoMonitor &m_monitor;
    UserPrompt &m_prompt;
    std::unique_ptr<IoRecordFile> m_file;
    OpResult m_result;
};
