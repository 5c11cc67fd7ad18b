#pragma once

#include "base/StoredSettings.h"
#include "data/QvData.h"
#include "data/WriteJournal.h"
#include "link/ControllerLink.h"

#include <memory>

class ControllerModes;
class ControllerTransfer;
class FileDialogs;
class FileOperations;
class IoMonitor;
class MainScreen;
class MoveOperations;
class PrintOperation;
class ProgressView;
class UserPrompt;
class Verification;

// The program's long-lived objects: the stored settings, the line to the controller, the two
// copies of the QV data and the operations on them. The window, the command-line program, the
// benchmarks and the tests each build one, so they all run the same routines.
class Session {
public:
    explicit Session(UserPrompt &prompt);
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

private:
    UserPrompt &m_prompt; // first: the link is built with it

public:
    StoredSettings settings;
    ControllerLink link{settings};
    QvDataCopies copies;
    // The journal of writes, which the write adds to and history and undo read.
    WriteJournal journal{settings};

    UserPrompt &prompt() const { return m_prompt; }

    // Builds the operations on the front end's screen, file choosers and progress window. Called
    // once, before any operation is used; the three must live as long as the session. A second
    // attach, or an operation asked for before the first, ends the program with a message, in
    // every build.
    void attach(MainScreen &screen, FileDialogs &dialogs, ProgressView &progress);

    MainScreen &screen() const;
    FileOperations &files() const;
    ControllerTransfer &transfer() const;
    Verification &verification() const;
    MoveOperations &moves() const;
    ControllerModes &modes() const;
    PrintOperation &printing() const;

    // The I/O monitor; built when first asked for, it needs only the link.
    IoMonitor &ioMonitor();

private:
    struct Operations;
    Operations &ops() const;
    std::unique_ptr<Operations> m_ops;
    std::unique_ptr<IoMonitor> m_ioMonitor;
};
