// Feeds arbitrary file contents to the QV data file reader. The input is written to a file in a
// temporary folder and read back as the program reads a chosen file. A read file must be
// reported by no message and must write back to a file that reads the same; a refused one by
// exactly one message with DataChanged left set.

#include "base/UserPrompt.h"
#include "data/QvDataFile.h"
#include "tests/support/StandInScreen.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>

namespace {

class CountingPrompt : public UserPrompt {
public:
    int shown = 0;
    MsgAnswer MsgBox(const QString &, MsgButtons, MsgIcon) override {
        ++shown;
        return MsgAnswer::Ok;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static QTemporaryDir folder;
    static const QString path = folder.filePath(QStringLiteral("input.qvd"));
    {
        QFile file(path);
        if (!folder.isValid() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
            __builtin_trap();
    }

    StandInScreen screen;
    screen.dataChanged = true;
    CountingPrompt prompt;
    QvData read;
    const OpResult result = ReadQvFile(path, read, screen, prompt);
    if (result.isDone()) {
        if (prompt.shown != 0 || screen.dataChanged)
            __builtin_trap();
        QByteArray written = QvDataFile::format(read);
        QBuffer buffer(&written);
        buffer.open(QIODevice::ReadOnly);
        QvData back;
        if (QvDataFile::read(buffer, back) != QvDataFile::ReadOutcome::Read || !(back == read))
            __builtin_trap();
    } else if (result.failure != OpResult::Failure::FileError || result.text.isEmpty() ||
               prompt.shown != 1 || !screen.dataChanged) {
        __builtin_trap();
    }
    return 0;
}
