// Feeds arbitrary header files to the journal of writes. The input is the header of entry 1 in a
// journal folder of its own, beside good before- and after-files. The entry must be listed
// exactly when the header is within the size limit and names the time, the device and how the
// write ended; a listed entry must have the parser's fields, and its header written again must
// read back to the same fields (the escaping loses nothing).

#include "base/StoredSettings.h"
#include "data/QvDataFile.h"
#include "data/WriteJournal.h"
#include "fuzz/FuzzSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>

namespace {

bool sameFields(const JournalEntry &a, const JournalEntry &b) {
    return a.time == b.time && a.port == b.port && a.device == b.device && a.serial == b.serial &&
           a.parameters == b.parameters && a.ended == b.ended && a.reason == b.reason &&
           a.blocks == b.blocks && a.blocksSent == b.blocksSent;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz::ensureApplication();
    fuzz::settingsFolder();
    static QTemporaryDir folder(fuzz::folderTemplate());
    static const bool dataWritten =
        QvDataFile::write(folder.filePath(QStringLiteral("000001.before.qvd")), QvData()) &&
        QvDataFile::write(folder.filePath(QStringLiteral("000001.after.qvd")), QvData());
    fuzz::require(folder.isValid() && dataWritten);
    const QByteArray input = fuzz::bytes(data, size);
    {
        QFile header(folder.filePath(QStringLiteral("000001.entry")));
        fuzz::require(header.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                      header.write(input) == input.size());
    }

    JournalEntry parsed;
    const bool isHeader =
        input.size() <= JournalHeader::MaxSize && JournalHeader::parse(input, parsed);
    static const StoredSettings settings;
    WriteJournal journal(settings);
    journal.setFolder(folder.path());
    const QList<JournalEntry> listed = journal.entries();
    fuzz::require(listed.size() == (isHeader ? 1 : 0));
    if (!isHeader)
        return 0;
    // Nobody holds the file: an entry left under way was interrupted.
    if (parsed.ended == JournalEntry::Ended::UnderWay)
        parsed.ended = JournalEntry::Ended::Interrupted;
    fuzz::require(listed.first().number == 1 && sameFields(listed.first(), parsed));
    JournalEntry again;
    fuzz::require(JournalHeader::parse(JournalHeader::format(parsed), again) &&
                  sameFields(again, parsed));
    return 0;
}
