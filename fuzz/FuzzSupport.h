#pragma once

// What the fuzz targets share: prompts that stand in for the user, a broken property as a
// finding, the application object, a settings folder of the process's own.

#include "base/UserPrompt.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

namespace fuzz {

// A broken property stops the run like a crash, so libFuzzer keeps the input.
inline void require(bool holds) {
    if (!holds)
        __builtin_trap();
}

// A prompt no input may reach: any message is a finding.
class TrappingPrompt : public UserPrompt {
public:
    MsgAnswer MsgBox(const QString &, MsgButtons, MsgIcon) override { __builtin_trap(); }
};

// Keeps every message and answers it with OK.
class RecordingPrompt : public UserPrompt {
public:
    QStringList shown;
    MsgAnswer MsgBox(const QString &text, MsgButtons, MsgIcon) override {
        shown.append(text);
        return MsgAnswer::Ok;
    }
};

inline QByteArray bytes(const uint8_t *data, size_t size) {
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// The application object event loops, timers and the command-line help need; made once.
inline void ensureApplication() {
    static int argc = 1;
    static char name[] = "qvpc-cli";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

// Where the targets keep their temporary folders: in memory where the system offers it (the
// settings are written many times a run), under a name of their own, so that the folders a run
// that stopped at a finding leaves behind are easily told apart.
inline QString folderTemplate() {
    const QFileInfo memory(QStringLiteral("/dev/shm"));
    const QString base =
        memory.isDir() && memory.isWritable() ? memory.filePath() : QDir::tempPath();
    return base + QStringLiteral("/qvpc-fuzz-XXXXXX");
}

// Points XDG_CONFIG_HOME at an empty folder of the process's own before the settings are first
// used, so that no run touches the user's settings. Returns that folder.
inline QString settingsFolder() {
    static QTemporaryDir folder(folderTemplate());
    static const bool set = qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.path()));
    require(folder.isValid() && set);
    return folder.path();
}

// Writes the file with a modification time no earlier run gave it, so that the settings layer
// cannot take it for the file it read last.
inline void place(const QString &path, const QByteArray &content) {
    static qint64 runs = 0;
    QFile file(path);
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
            file.write(content) == content.size() && file.flush() &&
            file.setFileTime(QDateTime::fromSecsSinceEpoch(1000000000 + ++runs),
                             QFileDevice::FileModificationTime));
}

} // namespace fuzz
