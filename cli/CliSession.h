#pragma once

#include "base/SilentProgress.h"
#include "cli/CliOptions.h"
#include "cli/NoFileDialogs.h"
#include "cli/TerminalPrompt.h"
#include "cli/TerminalScreen.h"
#include "session/Session.h"

#include <functional>

class QTextStream;

// One run of qvpc-cli: the program's session, wired for a terminal, and the commands, each
// running the operations the window runs. Every command returns the exit
// status: 0 done (verify: equal), 1 failed or different, the reason already printed.
class CliSession {
public:
    CliSession(const CliRequest &request, QTextStream &out, QTextStream &err);
    ~CliSession();

    int run();

    // How a write or verify run ended, for the line a run on several controllers prints.
    enum class Verdict { Ok, Different, Failed };
    Verdict verdict(int exitStatus) const;
    TerminalPrompt &prompt() { return m_prompt; }
    // Where --trace lines go (standard error unless set otherwise).
    void setTraceSink(std::function<void(const QString &)> sink);
    // The file into the working copy and its range check, for a write on several controllers
    // that asks its question once before any of them is touched.
    bool takeCheckedFile();

private:
    int ports();
    int read();
    int write();
    int verify();
    int show();
    // Move mode and the controller modes (CliSessionOps.cpp).
    int moveTo();
    int home();
    int reset();
    int version();
    int mode();
    int print();
    // The I/O monitor.
    int io();

    // After an operation failed: when the port could not be opened, says which port it was.
    void tellPortTrouble();
    // The file named on the command line into the working copy, as if opened in the window.
    bool takeFile();
    // --backup: the controller's data saved to the backup file; false (told) when not.
    bool saveBackup();
    // --details: each differing item with the file's and the controller's value.
    void printDetails();

    const CliRequest &m_request;
    QTextStream &m_out;
    TerminalPrompt m_prompt;
    Session m_session{m_prompt};
    TerminalScreen m_screen{m_session.copies, m_prompt, m_request.parameters};
    SilentProgress m_progress;
    NoFileDialogs m_dialogs;
    CommLog m_log;
};
