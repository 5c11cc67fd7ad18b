#pragma once

#include "app/StoredSettings.h"
#include "cli/CliOptions.h"
#include "cli/NoFileDialogs.h"
#include "link/SilentProgress.h"
#include "cli/TerminalPrompt.h"
#include "cli/TerminalScreen.h"
#include "data/ControllerTransfer.h"
#include "data/FileOperations.h"
#include "data/QvData.h"
#include "link/ControllerLink.h"

class QTextStream;

// One run of qvpc-cli: the objects the main window would own, wired for a terminal, and the
// commands, each built from the operations the window runs. Every command returns the exit
// status: 0 done (verify: equal), 1 failed or different, the reason already printed.
class CliSession {
public:
    CliSession(const CliRequest &request, QTextStream &out, QTextStream &err);
    ~CliSession();

    int run();

private:
    int ports();
    int read();
    int write();
    int verify();
    int show();

    // Opens the port the command line chose; tells the user when it cannot be opened.
    bool openPort();
    // The file named on the command line into the working copy, as if opened in the window.
    bool takeFile();

    const CliRequest &m_request;
    QTextStream &m_out;
    StoredSettings m_settings;
    TerminalPrompt m_prompt;
    QvDataCopies m_copies;
    TerminalScreen m_screen{m_copies, m_prompt, m_request.parameters};
    SilentProgress m_progress;
    NoFileDialogs m_dialogs;
    ControllerLink m_link{m_settings, m_prompt};
    FileOperations m_files{m_copies, m_screen, m_prompt, m_dialogs};
    ControllerTransfer m_transfer{m_link, m_prompt, m_copies, m_screen, m_files, m_progress};
};
