// Feeds arbitrary file contents to the QV data file reader. The input is written to a file in a
// temporary folder and read back as the program reads a chosen file. A read file must be
// reported by no message and must write back to a file that reads the same; a refused one by
// exactly one message with DataChanged left set.

#include "data/QvDataFile.h"
#include "fuzz/FuzzSupport.h"
#include "tests/support/StandInScreen.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static QTemporaryDir folder(fuzz::folderTemplate());
    static const QString path = folder.filePath(QStringLiteral("input.qvd"));
    {
        QFile file(path);
        if (!folder.isValid() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
            __builtin_trap();
    }

    StandInScreen screen;
    screen.dataChanged = true;
    fuzz::RecordingPrompt prompt;
    QvData read;
    const OpResult result = ReadQvFile(path, read, screen, prompt);
    if (result.isDone()) {
        if (!prompt.shown.isEmpty() || screen.dataChanged)
            __builtin_trap();
        QByteArray written = QvDataFile::format(read);
        QBuffer buffer(&written);
        buffer.open(QIODevice::ReadOnly);
        QvData back;
        if (QvDataFile::read(buffer, back) != QvDataFile::ReadOutcome::Read || !(back == read))
            __builtin_trap();
    } else if (result.failure != OpResult::Failure::FileError || result.text.isEmpty() ||
               prompt.shown.size() != 1 || !screen.dataChanged) {
        __builtin_trap();
    }
    return 0;
}
