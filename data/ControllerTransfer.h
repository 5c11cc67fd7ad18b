#pragma once

#include "data/ControllerBlocks.h"

#include <QtGlobal>

class ControllerLink;
class FileOperations;
class MainScreen;
class ProgressView;
class UserPrompt;
struct QvDataCopies;

// Moving the whole data set between the program and the controller: the read (asking first, or
// at start-up without asking), the block read that verification uses too, the write with its
// restart question. Talks to the user only through UserPrompt and the progress window, to the
// main window only through MainScreen, so a command-line program can run it unchanged.
class ControllerTransfer {
public:
    ControllerTransfer(ControllerLink &link, UserPrompt &prompt, QvDataCopies &copies,
                       MainScreen &screen, FileOperations &files, ProgressView &progress);

    // Read, asking first (save question when the data changed, else the read question).
    void GetfromCt();
    // The start-up read: the same without the questions. 0: read and shown; 1: not (the user has
    // been told, unless the read was refused because another exchange waits).
    qint16 OnlineDataRead();
    // The five blocks into the read copy. 0: read and decoded; 1: failed (the exchange has told
    // the user what went wrong, if anything). The port is released either way, except when
    // another exchange is still waiting: then nothing is touched and the result is 1.
    qint16 ReadBlocks();
    // The last ReadBlocks got every reply but could not decode them: no exchange message was
    // shown, so a caller that shows none of its own must tell the user.
    bool readUndecodable() const { return m_undecodable; }

    // Write: screen checks, the question, the blocks, then the restart question.
    void LoadtoCt();
    // Sends the blocks built by SetData2PSDA (the parameter blocks only while the parameters
    // take part). 0: all sent; 1: failed, blocks sent before stay written.
    qint16 WriteBlocks();
    // "0CM3" after a communication check, not awaiting a reply. 0: sent; 1: failed.
    qint16 RestartController();

private:
    // Reads, then adopts and shows the data or reports the failure.
    qint16 readAndAdopt();
    // The write between the brackets.
    void writeAndRestart();

    ControllerLink &m_link;
    UserPrompt &m_prompt;
    QvDataCopies &m_copies;
    MainScreen &m_screen;
    FileOperations &m_files;
    ProgressView &m_progress;
    bool m_undecodable = false;
    ControllerBlocks::WriteBlocks m_blocks;
};
