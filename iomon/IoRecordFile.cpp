#include "iomon/IoRecordFile.h"

#include "base/FileTarget.h"

#include <QFileInfo>
#include <QRandomGenerator>

namespace {

// The VCD identifier of each signal: one printable character from "!".
char wireId(int signal) {
    return char('!' + signal);
}

} // namespace

std::optional<IoRecordFile::Format> IoRecordFile::formatFor(const QString &path) {
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == QLatin1String("vcd"))
        return Format::Vcd;
    if (ext == QLatin1String("csv"))
        return Format::Csv;
    return std::nullopt;
}

bool IoRecordFile::open(const QString &path) {
    finish();
    m_path = path;
    m_replaces.clear();
    m_whole = 0;
    m_last = -1;
    m_lastStamped = -1;
    const QFileInfo info(path);
    // Unbuffered: every write reaches the file at once, and a failed one can be cut off. NewOnly:
    // the file opened is always one made here, never a FIFO or device that appeared meanwhile.
    const auto mode = QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered;
    // A link as the name would have the recording written wherever the link leads.
    if (!FileTarget::isWritableAsFile(path) || info.isSymLink())
        return false;
    if (info.exists()) {
        // The new file beside the old one, with its permissions.
        m_replaces = info.canonicalFilePath();
        const QFileInfo old(m_replaces);
        for (int i = 0; i < 8 && !m_file.isOpen(); ++i) {
            m_file.setFileName(
                QStringLiteral("%1/.%2.%3")
                    .arg(old.path(), old.fileName(),
                         QString::number(QRandomGenerator::global()->generate(), 16)));
            if (m_file.open(mode))
                m_file.setPermissions(old.permissions());
        }
    } else {
        m_file.setFileName(path);
        m_file.open(mode);
    }
    if (!m_file.isOpen()) {
        m_replaces.clear();
        return false;
    }
    if (!put(head())) {
        // The file made here goes; an old file stays as it was.
        m_file.remove();
        return false;
    }
    return true;
}

bool IoRecordFile::replaceOld() {
    if (m_replaces.isEmpty())
        return true;
    if (!FileTarget::putInPlace(m_file, m_replaces)) {
        close();
        return false;
    }
    m_replaces.clear();
    return true;
}

void IoRecordFile::close() {
    if (!m_replaces.isEmpty()) {
        m_file.remove();
        m_replaces.clear();
    }
    m_file.close();
}

QByteArray IoRecordFile::head() const {
    const auto &all = IoSignals::table();
    QByteArray text;
    if (m_format == Format::Csv) {
        text = "time_s";
        for (const IoSignal &s : all)
            text += QByteArray(",") + s.wireName;
        return text + '\n';
    }
    text = "$comment QV PC-Software I/O monitor, 1 = red lamp $end\n"
           "$timescale 1 ms $end\n"
           "$scope module io $end\n";
    for (int i = 0; i < IoSignals::Count; ++i)
        text += QByteArray("$var wire 1 ") + wireId(i) + ' ' + all[size_t(i)].wireName + " $end\n";
    return text + "$upscope $end\n$enddefinitions $end\n";
}

QByteArray IoRecordFile::row(qint64 time, quint16 states) const {
    QByteArray text;
    if (m_format == Format::Csv) {
        text = QByteArray::number(time / 1000) + '.' +
               QByteArray::number(time % 1000).rightJustified(3, '0');
        for (int i = 0; i < IoSignals::Count; ++i)
            text += IoSignals::stateOf(states, i) ? ",1" : ",0";
        return text + '\n';
    }
    const bool first = m_last < 0;
    for (int i = 0; i < IoSignals::Count; ++i) {
        const bool on = IoSignals::stateOf(states, i);
        if (first || on != IoSignals::stateOf(m_states, i))
            text += QByteArray(on ? "1" : "0") + wireId(i) + '\n';
    }
    if (text.isEmpty())
        return text;
    if (first)
        return "#0\n$dumpvars\n" + text + "$end\n";
    return '#' + QByteArray::number(time) + '\n' + text;
}

bool IoRecordFile::add(qint64 ms, const IoPorts &ports) {
    if (!m_file.isOpen())
        return false;
    if (m_last < 0)
        m_origin = ms;
    // Times only go forward in either format.
    const qint64 time = std::max(ms - m_origin, std::max<qint64>(m_last, 0));
    const quint16 states = IoSignals::states(ports);
    const QByteArray bytes = row(time, states);
    if (!put(bytes) || !replaceOld())
        return false;
    if (!bytes.isEmpty() && m_format == Format::Vcd)
        m_lastStamped = time;
    m_last = time;
    m_states = states;
    return true;
}

bool IoRecordFile::finish() {
    if (!m_file.isOpen())
        return true;
    bool ok = true;
    if (m_format == Format::Vcd && m_last > m_lastStamped)
        ok = put('#' + QByteArray::number(m_last) + '\n');
    close();
    return ok;
}

bool IoRecordFile::put(const QByteArray &bytes) {
    if (bytes.isEmpty())
        return true;
    if (m_file.write(bytes) == bytes.size()) {
        m_whole += bytes.size();
        return true;
    }
    // Part of a read would make the rest of the file unreadable to a reader.
    m_file.resize(m_whole);
    close();
    return false;
}
