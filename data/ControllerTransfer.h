#pragma once

#include "base/OpResult.h"
#include "data/ControllerBlocks.h"
#include "data/WriteJournal.h"

#include <QtGlobal>

#include <atomic>
#include <optional>

class ControllerLink;
class ControllerScope;
class FileOperations;
class MainScreen;
class ProgressView;
class StoredSettings;
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
    // Stopped when the user declined or the save did not happen.
    OpResult GetfromCt();
    // The start-up read: the same without the questions. Done: read and shown; otherwise the user
    // has been told, unless the read was refused because another exchange waits (busy).
    OpResult OnlineDataRead();
    // The five blocks into the read copy. Done: read and decoded. A failed exchange has told the
    // user what went wrong; replies that could not be decoded (Malformed without a text) have
    // shown nothing. The port is released either way, except when another exchange is still
    // waiting: then nothing is touched and the result is busy.
    OpResult ReadBlocks();

    // Write: screen checks, the question, the blocks, then the restart question. Done once every
    // block is written and the restart, when asked for, has gone out.
    OpResult LoadtoCt();
    // Sends the blocks built by SetData2PSDA (the parameter blocks only while the parameters
    // take part). Done: all sent; otherwise blocks sent before stay written.
    OpResult WriteBlocks();
    // "0CM3" after a communication check, not awaiting a reply.
    OpResult RestartController();

    // Where the write finds whether to show what it will change before its question (none:
    // it never does).
    void setPreviewFrom(const StoredSettings *settings) { m_preview = settings; }
    // The journal each write is recorded in (none: writes are not journalled).
    void setJournal(WriteJournal *journal) { m_journal = journal; }
    // A flag another thread or a signal handler may raise to stop a write between two blocks:
    // the block under way completes, no further block and no restart is sent, the journal
    // entry says interrupted. The window sets none; its write cannot be interrupted.
    void setStopFlag(const std::atomic_bool *stop) { m_stop = stop; }

private:
    // Reads, then adopts and shows the data or reports the failure.
    OpResult readAndAdopt();
    // Shows what a failed exchange or check tells; the result, for returning.
    OpResult told(ControllerScope &controller, const OpResult &result);
    // The write between the brackets.
    OpResult writeAndRestart();
    // Reads the controller and shows each item the write will change. Done: the user goes on;
    // stopped: declined; otherwise the read failed and has been told. The read copy keeps what
    // it held.
    OpResult previewChanges();
    // The journal's part of a write (ControllerTransferJournal.cpp). Before the blocks go out:
    // the entry with the controller's values as they are now stored as under way, unless this
    // write is not journalled. A journalled write goes out journalled or not at all: a read that
    // fails, or an entry that cannot be stored, is the write's failure, with why in its text.
    OpResult journalBefore();
    // After the write: the entry completed, or removed when no block went out. A journal that
    // cannot be stored is told as a note; the write's result stays as it is.
    void journalAfter(const OpResult &write, const OpResult *restart);
    // A write stopped by the stop flag: told which blocks went and which did not.
    OpResult interrupted();

    ControllerLink &m_link;
    UserPrompt &m_prompt;
    QvDataCopies &m_copies;
    MainScreen &m_screen;
    FileOperations &m_files;
    ProgressView &m_progress;
    ControllerBlocks::WriteBlocks m_blocks;
    WriteJournal *m_journal = nullptr;
    int m_blocksSent = 0;   // by the last WriteBlocks
    JournalRecord m_record; // the entry of the write under way
    const std::atomic_bool *m_stop = nullptr;
    const StoredSettings *m_preview = nullptr;
    std::optional<QvData> m_givenBefore; // the caller's read for the write under way
};
