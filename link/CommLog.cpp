#include "link/CommLog.h"

#include "base/ResText.h"

#include <QDateTime>
#include <QMetaMethod>
#include <QSaveFile>
#include <QTime>

namespace {

// The bytes as readable text: line ends and other control characters spelled out, so that a
// missing or doubled CR LF shows.
QString readable(const QByteArray &bytes) {
    QString text;
    text.reserve(bytes.size() + 8);
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\r')
            text += QStringLiteral("<CR>");
        else if (c == '\n')
            text += QStringLiteral("<LF>");
        else if (u < 0x20 || u >= 0x7f)
            text += QStringLiteral("<%1>").arg(u, 2, 16, QLatin1Char('0')).toUpper();
        else
            text += QLatin1Char(c);
    }
    return text;
}

} // namespace

CommLog::CommLog(QObject *parent) : QObject(parent) {}

void CommLog::add(Event event, const QByteArray &bytes, const QString &note) {
    Entry entry{QDateTime::currentMSecsSinceEpoch(), event, bytes, note};
    const bool shown =
        m_listener || isSignalConnected(QMetaMethod::fromSignal(&CommLog::lineAdded));
    const QString line = shown ? format(entry) : QString();
    if (m_entries.size() < Capacity) {
        m_entries.append(std::move(entry));
    } else {
        m_entries[m_first] = std::move(entry);
        m_first = (m_first + 1) % Capacity;
    }
    if (!shown)
        return;
    if (m_listener)
        m_listener(line);
    emit lineAdded(line);
}

QStringList CommLog::lines() const {
    QStringList out;
    out.reserve(m_entries.size());
    for (qsizetype i = 0; i < m_entries.size(); ++i)
        out.append(format(m_entries[(m_first + i) % m_entries.size()]));
    return out;
}

void CommLog::clear() {
    m_entries.clear();
    m_first = 0;
    emit cleared();
}

bool CommLog::saveTo(const QString &path) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // Every write and the final flush are checked: on a full disk the old file stays.
    for (const QString &line : lines()) {
        const QByteArray bytes = line.toUtf8() + "\r\n";
        if (file.write(bytes) != bytes.size())
            return false;
    }
    return file.flush() && file.commit();
}

QString CommLog::format(const Entry &entry) {
    const QString time =
        QDateTime::fromMSecsSinceEpoch(entry.msecs).time().toString(QStringLiteral("HH:mm:ss.zzz"));
    QString marker;
    QString text = entry.note;
    switch (entry.event) {
    case Event::Opened:
    case Event::OpenFailed:
    case Event::Closed:
        marker = QStringLiteral("***");
        break;
    case Event::Sent:
        marker = QStringLiteral("-->");
        text = readable(entry.bytes);
        break;
    case Event::Received:
        marker = QStringLiteral("<--");
        text = readable(entry.bytes);
        break;
    case Event::Discarded:
        marker = QStringLiteral("<-x");
        text = entry.note + QStringLiteral(": ") + readable(entry.bytes);
        break;
    case Event::Ended:
        marker = QStringLiteral("===");
        break;
    }
    return time + u' ' + marker + u' ' + text;
}
