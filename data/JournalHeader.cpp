#include "data/JournalEntry.h"

namespace {

struct EndedName {
    JournalEntry::Ended ended;
    const char *word;
};
constexpr EndedName EndedNames[] = {
    {JournalEntry::Ended::Written, "written"},
    {JournalEntry::Ended::Restarted, "restarted"},
    {JournalEntry::Ended::RestartFailed, "restart-failed"},
    {JournalEntry::Ended::Failed, "failed"},
    {JournalEntry::Ended::Interrupted, "interrupted"},
    {JournalEntry::Ended::UnderWay, "under-way"},
};

// At most seven blocks go out in one write.
constexpr int MaxBlocks = 7;

QByteArray escaped(const QString &value) {
    QByteArray text;
    for (const char c : value.toUtf8()) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f || c == '%')
            text += '%' + QByteArray::number(byte, 16).rightJustified(2, '0').toUpper();
        else
            text += c;
    }
    return text;
}

QByteArray line(const char *key, const QString &value) {
    return QByteArray(key) + '=' + escaped(value) + '\n';
}

// A count of blocks, or fallback for anything that is no such count.
int blockCount(const QString &value, int fallback) {
    bool ok = false;
    const int n = value.toInt(&ok);
    return ok && n >= 0 && n <= MaxBlocks ? n : fallback;
}

// The time in UTC; none for a time a header could not hold again (a year beyond four digits).
QDateTime utcTime(const QString &value) {
    const QDateTime time = QDateTime::fromString(value, Qt::ISODateWithMs).toUTC();
    const int year = time.date().year();
    return time.isValid() && year >= 1 && year <= 9999 ? time : QDateTime();
}

} // namespace

QString endedWord(JournalEntry::Ended ended) {
    for (const EndedName &n : EndedNames) {
        if (n.ended == ended)
            return QLatin1String(n.word);
    }
    return {};
}

namespace JournalHeader {

QByteArray format(const JournalEntry &e) {
    QByteArray text = line("time", e.time.toUTC().toString(Qt::ISODateWithMs)) +
                      line("port", e.port) + line("device", e.device) + line("serial", e.serial) +
                      line("parameters", e.parameters ? QStringLiteral("1") : QStringLiteral("0")) +
                      line("ended", endedWord(e.ended)) + line("reason", e.reason);
    if (e.blocks > 0)
        text += line("blocks", QString::number(e.blocks));
    if (e.blocksSent >= 0)
        text += line("sent", QString::number(e.blocksSent));
    return text;
}

bool parse(const QByteArray &text, JournalEntry &e) {
    bool endedKnown = false;
    for (const QByteArray &raw : text.split('\n')) {
        const qsizetype equals = raw.indexOf('=');
        if (equals < 0)
            continue;
        const QByteArray key = raw.left(equals);
        const QString value =
            QString::fromUtf8(QByteArray::fromPercentEncoding(raw.mid(equals + 1)));
        if (key == "time")
            e.time = utcTime(value);
        else if (key == "port")
            e.port = value;
        else if (key == "device")
            e.device = value;
        else if (key == "serial")
            e.serial = value;
        else if (key == "parameters")
            e.parameters = value == QLatin1String("1");
        else if (key == "reason")
            e.reason = value;
        else if (key == "blocks")
            e.blocks = blockCount(value, 0);
        else if (key == "sent")
            e.blocksSent = blockCount(value, -1);
        else if (key == "ended") {
            for (const EndedName &n : EndedNames) {
                if (value == QLatin1String(n.word)) {
                    e.ended = n.ended;
                    endedKnown = true;
                }
            }
        }
    }
    // No name of a port holds a NUL: such a header was not written by us.
    return endedKnown && e.time.isValid() && !e.device.isEmpty() && !e.device.contains(QChar()) &&
           !e.port.contains(QChar());
}

} // namespace JournalHeader
