#pragma once

#include "iomon/IoSignals.h"

#include <QFile>

#include <optional>

// A recording of the I/O monitor's reads: VCD (one wire per signal, 1 ms steps, only changes
// written) or CSV (the time in seconds and the nine states as 0 or 1, one row a read); 1 is a red
// lamp. The recording's time 0 is its first read. Each read is on disk when add returns, so the
// file is whole however the program ends; a write that fails (a full disk) cuts the file back to
// the last whole read and closes it. Only a regular file is written: a device, FIFO, folder or
// socket at the path, and a symbolic link, is left alone. An existing file is replaced only once
// the first read is on disk (the new file is written beside it and renamed over it), so a recording
// that fails before that leaves it as it was.
class IoRecordFile {
public:
    enum class Format { Vcd, Csv };
    // The format for a file name's extension (.vcd or .csv, in any case); none for another.
    static std::optional<Format> formatFor(const QString &path);

    explicit IoRecordFile(Format format) : m_format(format) {}
    ~IoRecordFile() { finish(); }
    IoRecordFile(const IoRecordFile &) = delete;
    IoRecordFile &operator=(const IoRecordFile &) = delete;

    // Makes the file (beside an existing one, which the first read replaces) and writes its
    // head; false when that fails or the path holds no regular file. Only what this run made is
    // removed on a failure.
    bool open(const QString &path);
    // One good read at ms on the caller's clock; false when it could not be written.
    bool add(qint64 ms, const IoPorts &ports);
    // Closes the file. A VCD ends with the time of the last read, so that the last states have
    // their length; false when that could not be written (the file stays whole without it).
    bool finish();

    bool isOpen() const { return m_file.isOpen(); }
    QString fileName() const { return m_path; }

private:
    QByteArray head() const;
    QByteArray row(qint64 time, quint16 states) const;
    // Writes it whole or cuts the file back to what was there and closes it.
    bool put(const QByteArray &bytes);
    // The new file in place of the old one, once it holds a read; false when that failed.
    bool replaceOld();
    // Closes the file; a new file beside an old one that it never replaced goes.
    void close();

    Format m_format;
    QFile m_file;
    QString m_path;     // the recording's name
    QString m_replaces; // the existing file the new one replaces at its first read; empty: none
    qint64 m_whole = 0; // bytes of whole reads
    qint64 m_origin = 0;
    qint64 m_last = -1;        // the last read's time in the recording; -1 before the first
    qint64 m_lastStamped = -1; // the last time written to a VCD
    quint16 m_states = 0;
};
