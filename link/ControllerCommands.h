#pragma once

#include <QString>
#include <QtGlobal>

// Every command the controller understands, as the program uses it.
enum class ControllerCommand {
    CommCheck,     // communication check; also puts the controller in communication mode
    ExternalStart, // back to external start mode
    Restart,       // takes new blocks into effect; no reply is awaited
    ReadBlock,     // one data block by its number
    WriteBlock,    // one encoded data block
    Move,          // to a position by its number (0: home)
    Reset,         // clears the controller's alarm
    Version,       // the controller's version
    IoRead,        // the I/O block
    OutputWrite,   // the output pattern
};

// How an error reply begins; the two characters after it are the alarm code.
inline constexpr char ErrorReplyStart[] = "0%%";

// The longest reply to a command whose good reply has replyLength characters: that length or an
// error reply ("0%%" + code + CR LF), whichever is longer, and a small margin for stray
// characters. A reply that grows past it is a reply of the wrong length at once.
constexpr qsizetype replyLimitFor(qint16 replyLength) {
    constexpr qint16 ErrorReplyLength = 7;
    constexpr qint16 ReplyMargin = 16;
    return qMax(replyLength, ErrorReplyLength) + ReplyMargin;
}

// How a command goes over the line and how its reply is judged. Declared once for all commands in
// commandForm(); nothing else spells a prefix, a reply length or a wait.
struct CommandForm {
    // What a good reply must begin with; a reply that begins otherwise is a reply for another
    // command.
    enum class Judge {
        Prefix,         // the first three characters of the line
        Block,          // the command and the block number (another block's data would be wrong)
        Echo,           // the whole line (a written block that came back otherwise did not arrive)
        PrefixThenEcho, // as Prefix; a good reply that is not the whole line does not confirm it
    };

    const char *command;   // the text before the data
    const char *fixedData; // the data every time, or nullptr for the caller's
    qint16 replyLength;    // with its CR LF; 0: no reply is awaited
    int timeoutMs;         // the reply wait
    Judge judge;

    // The longest reply it can bring.
    qsizetype replyLimit() const { return replyLimitFor(replyLength); }
    // command + data (the fixed data when the command has some); no CR LF.
    QString line(const QString &data = QString()) const;
    // What a good reply to line begins with.
    QString replyStart(const QString &line) const;
    // For PrefixThenEcho: whether a good reply confirms the line.
    bool confirms(const QString &line, const QString &reply) const;
};

const CommandForm &commandForm(ControllerCommand command);

// The data of a move to target (0: home): its number in upper-case hexadecimal.
QString moveData(int target);
