#include "data/WriteJournal.h"

#include "base/MainScreen.h"
#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "data/FileOperations.h"
#include "data/QvDataFile.h"
#include "link/NetAddress.h"
#include "link/PortIdentity.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>

namespace {

constexpr int NumberWidth = 6;
// Two writes at the same moment (several controllers at once) may both want the same number; the
// next free number is tried instead.
constexpr int NumberTries = 1000;

// The journal's own name for a number: six digits at least, without a sign.
QString numberName(int number) {
    return QStringLiteral("%1").arg(number, NumberWidth, 10, QLatin1Char('0'));
}

bool readData(const QString &path, QvData &data) {
    std::optional<QByteArray> bytes = JournalFile::read(path, JournalHeader::MaxSize);
    if (!bytes)
        return false;
    QBuffer buffer(&*bytes);
    return buffer.open(QIODevice::ReadOnly) &&
           QvDataFile::read(buffer, data) == QvDataFile::ReadOutcome::Read;
}

} // namespace

WriteJournal::WriteJournal(const StoredSettings &settings)
    : m_settings(settings), m_folder(defaultFolder()) {}

QString WriteJournal::defaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/%1/journal").arg(QLatin1String(StoredSettings::AppName));
}

bool WriteJournal::readable() const {
    const QFileInfo folder(m_folder);
    return !folder.exists() || (folder.isDir() && QDir(m_folder).isReadable());
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
    return m_folder + u'/' + numberName(number) + QStringLiteral(".entry");
}

QString WriteJournal::dataPath(int number, const char *which) const {
    return m_folder + u'/' + numberName(number) + u'.' + QLatin1String(which) +
           QStringLiteral(".qvd");
}

QList<int> WriteJournal::numbers() const {
    QList<int> found;
    // Links and other things named like headers are listed too; reading them is refused.
    const QStringList names = QDir(m_folder).entryList(
        {QStringLiteral("*.entry")}, QDir::Files | QDir::System | QDir::Hidden, QDir::Name);
    for (const QString &name : names) {
        const QString digits = name.chopped(6);
        if (digits.size() > 9 || !std::all_of(digits.begin(), digits.end(),
                                              [](QChar c) { return c >= u'0' && c <= u'9'; }))
            continue;
        const int n = digits.toInt();
        // "1.entry" or "0000001.entry" beside "000001.entry" would list one entry twice.
        if (n > 0 && digits == numberName(n))
            found.append(n);
    }
    std::sort(found.begin(), found.end());
    return found;
}

QSet<int> WriteJournal::namesInTheWay() const {
    QSet<int> numbers;
    const QStringList names = QDir(m_folder).entryList(QDir::AllEntries | QDir::System |
                                                       QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        const qsizetype dot = name.indexOf(u'.');
        const QString digits = name.left(dot);
        const QString rest = name.mid(dot);
        if (dot < NumberWidth || digits.size() > 9 ||
            !std::all_of(digits.begin(), digits.end(),
                         [](QChar c) { return c >= u'0' && c <= u'9'; }) ||
            (rest != QLatin1String(".entry") && rest != QLatin1String(".before.qvd") &&
             rest != QLatin1String(".after.qvd")))
            continue;
        const int n = digits.toInt();
        if (n > 0 && digits == numberName(n))
            numbers.insert(n);
    }
    return numbers;
}

bool WriteJournal::occupied(int number) const {
    return JournalFile::occupied(headerPath(number)) ||
           JournalFile::occupied(dataPath(number, "before")) ||
           JournalFile::occupied(dataPath(number, "after"));
}

std::optional<JournalEntry> WriteJournal::load(int number) const {
    JournalEntry e;
    e.number = number;
    bool held = false;
    const std::optional<QByteArray> header =
        JournalFile::read(headerPath(number), JournalHeader::MaxSize, &held);
    if (!header || !JournalHeader::parse(*header, e) ||
        !readData(dataPath(number, "before"), e.before) ||
        !readData(dataPath(number, "after"), e.after))
        return std::nullopt;
    // Under way, but nobody holds it: the program writing it has died.
    if (e.ended == JournalEntry::Ended::UnderWay && !held)
        e.ended = JournalEntry::Ended::Interrupted;
    return e;
}

void WriteJournal::remove(int number) const {
    // Removing a link removes the link, never what it leads to.
    QFile::remove(dataPath(number, "before"));
    QFile::remove(dataPath(number, "after"));
    QFile::remove(headerPath(number));
}

OpResult WriteJournal::begin(JournalEntry &entry, JournalRecord &record) const {
    record.m_header.close();
    const QString cannot = ResText(1570).arg(m_folder);
    if (!QDir().mkpath(m_folder))
        return OpResult::failed(OpResult::Failure::FileError, cannot);
    // After the newest entry that reads; what cannot be read does not push the numbers up.
    int number = 0;
    const QList<int> taken = numbers();
    for (auto it = taken.crbegin(); it != taken.crend(); ++it) {
        if (load(*it)) {
            number = *it;
            break;
        }
    }
    entry.ended = JournalEntry::Ended::UnderWay;
    // Each of the three files is made new. Past the last number the numbers start again at the
    // lowest free one, and names already in the way are passed over without a try, so neither
    // a high number nor a folder full of names stops the journal.
    const QSet<int> inTheWay = namesInTheWay();
    for (int tries = 0; tries < NumberTries;) {
        number = number >= MaxNumber ? 1 : number + 1;
        if (inTheWay.contains(number))
            continue;
        ++tries;
        if (occupied(number) || !record.m_header.create(headerPath(number)))
            continue;
        if (!record.m_header.hold()) {
            record.m_header.close();
            QFile::remove(headerPath(number));
            continue;
        }
        entry.number = number;
        JournalFile before;
        JournalFile after;
        const bool beforeMade = before.create(dataPath(number, "before"));
        const bool afterMade = beforeMade && after.create(dataPath(number, "after"));
        if (afterMade && record.m_header.put(JournalHeader::format(entry)) &&
            before.put(QvDataFile::format(entry.before)) &&
            after.put(QvDataFile::format(entry.after))) {
            record.m_journal = this;
            record.m_entry = entry;
            return OpResult::done();
        }
        // Only what this attempt made goes.
        record.m_header.close();
        QFile::remove(headerPath(number));
        if (beforeMade)
            QFile::remove(dataPath(number, "before"));
        if (afterMade)
            QFile::remove(dataPath(number, "after"));
        // Made but not written: a full disk or the like, which the next number will not cure.
        if (afterMade)
            break;
    }
    return OpResult::failed(OpResult::Failure::FileError, cannot);
}

OpResult WriteJournal::record(JournalEntry &entry) const {
    const JournalEntry::Ended ended = entry.ended;
    JournalRecord record;
    const OpResult begun = begin(entry, record);
    entry.ended = ended;
    return begun.isDone() ? record.end(ended, entry.reason) : begun;
}

void WriteJournal::prune(const QString &device) const {
    QList<int> mine;
    // Newest first, as listed: the oldest beyond the bound go.
    const QList<JournalEntry> all = entries(device);
    for (const JournalEntry &e : all) {
        if (e.ended != JournalEntry::Ended::UnderWay)
            mine.append(e.number);
    }
    for (qsizetype i = KeptPerController; i < mine.size(); ++i)
        remove(mine[i]);
}

void JournalRecord::sent(int blocks) {
    if (!isOpen())
        return;
    m_entry.blocksSent = blocks;
    // Best effort: a header not brought up to date still says that the write was under way.
    m_header.put(JournalHeader::format(m_entry));
}

OpResult JournalRecord::end(JournalEntry::Ended ended, const QString &reason) {
    if (!isOpen())
        return OpResult::done();
    m_entry.ended = ended;
    m_entry.reason = reason;
    const bool stored = m_header.put(JournalHeader::format(m_entry));
    m_header.close();
    if (!stored)
        return OpResult::failed(OpResult::Failure::FileError,
                                ResText(1570).arg(m_journal->folder()));
    m_journal->prune(m_entry.device);
    return OpResult::done();
}

void JournalRecord::drop() {
    if (!isOpen())
        return;
    m_header.close();
    m_journal->remove(m_entry.number);
}

QList<JournalEntry> WriteJournal::entries(const QString &device) const {
    QList<JournalEntry> list;
    const QList<int> all = numbers();
    for (auto it = all.crbegin(); it != all.crend(); ++it) {
        std::optional<JournalEntry> e = load(*it);
        if (e && (device.isEmpty() || sameController(e->device, device)))
            list.append(*e);
    }
    // By time: numbers start again after the last one, so the newest need not be the highest.
    std::stable_sort(list.begin(), list.end(),
                     [](const JournalEntry &a, const JournalEntry &b) { return a.time > b.time; });
    return list;
}

std::optional<JournalEntry> WriteJournal::entry(int number) const {
    return load(number);
}

bool WriteJournal::sameController(const QString &a, const QString &b) {
    if (a == b)
        return true;
    // A server is the same by its address, however it was spelled.
    if (NetAddress::looksLikeUrl(a) || NetAddress::looksLikeUrl(b))
        return NetAddress::looksLikeUrl(a) && NetAddress::looksLikeUrl(b) &&
               PortIdentity::of(a) == PortIdentity::of(b);
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
