#pragma once

#include <QIODevice>
#include <QStringDecoder>

#include <cstdio>

// Standard output or error as the program writes its lines to it: whatever a controller, a file,
// the journal or the settings put into a line reaches the terminal with its control characters
// shown (VisibleText), never as commands to the terminal. Line breaks and tabs pass.
class TerminalOutput : public QIODevice {
public:
    explicit TerminalOutput(FILE *file);

protected:
    qint64 writeData(const char *data, qint64 size) override;
    qint64 readData(char *, qint64) override { return -1; }

private:
    FILE *m_file;
    // Keeps a character split between two writes whole.
    QStringDecoder m_decoder{QStringDecoder::Utf8};
};
