#pragma once

#include <QIODevice>
#include <QStringDecoder>

#include <cstdio>

// Standard output or error as the program writes its lines to it: whatever a controller, a file,
// the journal or the settings put into a line reaches the terminal with its control characters
// shown (VisibleText), never as commands to the terminal. Line breaks and tabs pass.
class TerminalOutput : public QIODevice {
public:
    // console, where given, takes the shown text instead of file (a Windows console).
    explicit TerminalOutput(FILE *file, QIODevice *console = nullptr);

protected:
    qint64 writeData(const char *data, qint64 size) override;
    qint64 readData(char *, qint64) override { return -1; }

private:
    FILE *m_file;
    QIODevice *m_console;
    // Keeps a character split between two writes whole.
    QStringDecoder m_decoder{QStringDecoder::Utf8};
};
