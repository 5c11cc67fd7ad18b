#include "data/WriteJournal.h"

#include "base/MainScreen.h"
#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "data/FileOperations.h"
#include "data/QvDataFile.h"
#include "link/NetAddress.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace {

constexpr int NumberWidth = 6;
// Two writes at the same moment (several controllers at once) may both want the same number;
// the later one takes the next.
constexpr int NumberTries = 100;

struct EndedName {
    JournalEntry::Ended ended;
    const char *word;
};
constexpr EndedName EndedNames[] = {
    {JournalEntry::Ended::Written, "written"},
    {JournalEntry::Ended::Restarted, "restarted"},
    {JournalEntry::Ended::RestartFailed, "restart-failed"},
    {JournalEntry::Ended::Failed, "failed"},
};

QByteArray headerText(const JournalEntry &e) {
    // One line per field: a line break inside a value would start a field of its own.
    const auto line = [](const char *key, QString value) {
        value.replace(u'\r', u' ').replace(u'\n', u' ');
        return QByteArray(key) + '=' + value.toUtf8() + '\n';
    };
    return line("time", e.time.toUTC().toString(Qt::ISODateWithMs)) + line("port", e.port) +
           line("device", e.device) + line("serial", e.serial) +
           line("parameters", e.parameters ? QStringLiteral("1") : QStringLiteral("0")) +
           line("ended", endedWord(e.ended)) + line("reason", e.reason);
}

bool readHeader(const QString &path, JournalEntry &e) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bool endedKnown = false;
    for (const QByteArray &raw : file.readAll().split('\n')) {
        const QString text = QString::fromUtf8(raw);
        const QString key = text.section(u'=', 0, 0);
        const QString value = text.section(u'=', 1);
        if (key == QLatin1String("time"))
            e.time = QDateTime::fromString(value, Qt::ISODateWithMs);
        else if (key == QLatin1String("port"))
            e.port = value;
        else if (key == QLatin1String("device"))
            e.device = value;
        else if (key == QLatin1String("serial"))
            e.serial = value;
        else if (key == QLatin1String("parameters"))
            e.parameters = value == QLatin1String("1");
        else if (key == QLatin1String("reason"))
            e.reason = value;
        else if (key == QLatin1String("ended")) {
            for (const EndedName &n : EndedNames) {
                if (value == QLatin1String(n.word)) {
                    e.ended = n.ended;
                    endedKnown = true;
                }
            }
        }
    }
    return endedKnown && e.time.isValid() && !e.device.isEmpty();
}

bool readData(const QString &path, QvData &data) {
    QFile file(path);
    return QvDataFile::openRegular(file) &&
           QvDataFile::read(file, data) == QvDataFile::ReadOutcome::Read;
}

} // namespace

QString endedWord(JournalEntry::Ended ended) {
    for (const EndedName &n : EndedNames) {
        if (n.ended == ended)
            return QLatin1String(n.word);
    }
    return {};
}

WriteJournal::WriteJournal(const StoredSettings &settings)
    : m_settings(settings), m_folder(defaultFolder()) {}

QString WriteJournal::defaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/%1/journal").arg(QLatin1String(StoredSettings::AppName));
}

bool WriteJournal::keptForEveryWrite() const {
    return m_settings.KeepJournal;
}

std::optional<QvData> WriteJournal::takePendingBefore() {
    std::optional<QvData> before = m_pendingBefore;
    m_pendingBefore.reset();
    return before;
}

QString WriteJournal::headerPath(int number) const {
    return m_folder + QStringLiteral("/%1.entry").arg(number, NumberWidth, 10, QLatin1Char('0'));
}

QString WriteJournal::dataPath(int number, const char *which) const {
    return m_folder + QStringLiteral("/%1.%2.qvd")
                          .arg(number, NumberWidth, 10, QLatin1Char('0'))
                          .arg(QLatin1String(which));
}

QList<int> WriteJournal::numbers() const {
    QList<int> found;
    const QStringList names =
        QDir(m_folder).entryList({QStringLiteral("*.entry")}, QDir::Files, QDir::Name);
    for (const QString &name : names) {
        bool ok = false;
        const int n = name.section(u'.', 0, 0).toInt(&ok);
        if (ok && n > 0)
            found.append(n);
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::optional<JournalEntry> WriteJournal::load(int number) const {
    JournalEntry e;
    e.number = number;
    if (!readHeader(headerPath(number), e) || !readData(dataPath(number, "before"), e.before) ||
        !readData(dataPath(number, "after"), e.after))
        return std::nullopt;
    return e;
}

void WriteJournal::remove(int number) const {
    QFile::remove(dataPath(number, "before"));
    QFile::remove(dataPath(number, "after"));
    QFile::remove(headerPath(number));
}

OpResult WriteJournal::record(JournalEntry &entry) const {
    const QString cannot = ResText(1570).arg(m_folder);
    if (!QDir().mkpath(m_folder))
        return OpResult::failed(OpResult::Failure::FileError, cannot);
    const QList<int> taken = numbers();
    int number = taken.isEmpty() ? 1 : taken.last() + 1;
    // The header is made first, only where no entry of that number is: it holds the number.
    QFile header;
    for (int i = 0; i < NumberTries; ++i, ++number) {
        header.setFileName(headerPath(number));
        if (header.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            break;
        if (!header.exists())
            return OpResult::failed(OpResult::Failure::FileError, cannot);
    }
    if (!header.isOpen())
        return OpResult::failed(OpResult::Failure::FileError, cannot);
    entry.number = number;
    const QByteArray text = headerText(entry);
    const bool stored = header.write(text) == text.size() && header.flush();
    header.close();
    // An entry missing any part is no entry at all.
    if (!stored || !QvDataFile::write(dataPath(number, "before"), entry.before) ||
        !QvDataFile::write(dataPath(number, "after"), entry.after)) {
        remove(number);
        return OpResult::failed(OpResult::Failure::FileError, cannot);
    }
    // The oldest entries of this controller beyond the bound go.
    QList<int> mine;
    for (int n : numbers()) {
        const std::optional<JournalEntry> e = load(n);
        if (e && sameController(e->device, entry.device))
            mine.append(n);
    }
    for (qsizetype i = 0; i + KeptPerController < mine.size(); ++i)
        remove(mine[i]);
    return OpResult::done();
}

QList<JournalEntry> WriteJournal::entries(const QString &device) const {
    QList<JournalEntry> list;
    const QList<int> all = numbers();
    for (auto it = all.crbegin(); it != all.crend(); ++it) {
        std::optional<JournalEntry> e = load(*it);
        if (e && (device.isEmpty() || sameController(e->device, device)))
            list.append(*e);
    }
    return list;
}

std::optional<JournalEntry> WriteJournal::entry(int number) const {
    return load(number);
}

bool WriteJournal::sameController(const QString &a, const QString &b) {
    if (a == b)
        return true;
    if (NetAddress::looksLikeUrl(a) || NetAddress::looksLikeUrl(b))
        return false;
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

OpResult restoreBefore(const JournalEntry &entry, QvDataCopies &copies, FileOperations &files,
                       MainScreen &screen) {
    if (!files.maySetDataAside())
        return OpResult::stopped();
    copies.read = entry.before;
    copies.CopyTemp2Hensu();
    screen.ShowQvData();
    // What the controller held then; not in it now until the user writes it.
    files.setCurrentFileName(ResText(213));
    screen.setDataChanged(true);
    return OpResult::done();
}
