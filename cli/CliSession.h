#pragma once

#include "base/SilentProgress.h"
#include "cli/CliOptions.h"
#include "cli/NoFileDialogs.h"
#include "cli/TerminalPrompt.h"
#include "cli/TerminalScreen.h"
#include "session/Session.h"

#include <QJsonObject>

#include <atomic>
#include <functional>

class QTextStream;
struct ItemDifference;

// What one command came to: the result of the operation it ran (done for a command that ran
// none and succeeded) and, for a verify that compared, whether the two differed.
struct CliOutcome {
    OpResult result;
    bool different = false;

    // The exit status: 0 done (verify: equal), 1 failed or different, the reason already printed.
    int exitStatus() const { return result.isDone() && !different ? 0 : 1; }
    // How a write or verify ended, for the line a run on several controllers prints.
    enum class Verdict { Ok, Different, Failed };
    Verdict verdict() const;
    // Why it failed, on one line: the first message shown in its course, else fallback.
    QString reason(const QString &fallback) const;
};

// One run of qvpc-cli: the program's session, wired for a terminal, and the commands, each
// running the operations the window runs.
class CliSession {
public:
    CliSession(const CliRequest &request, QTextStream &out, QTextStream &err);
    ~CliSession();

    CliOutcome run();

    TerminalPrompt &prompt() { return m_prompt; }
    // Where --trace lines go (standard error unless set otherwise).
    void setTraceSink(std::function<void(const QString &)> sink);
    // The flag a run on several controllers raises at Ctrl+C or SIGTERM to stop every write
    // between two blocks. Without one, a writing command watches for the signals itself.
    void setStopFlag(const std::atomic_bool *stop) { m_stopFlag = stop; }
    // The file into the working copy and its range check, for a write on several controllers
    // that asks its question once before any of them is touched.
    OpResult takeCheckedFile();

    // The commands, each run by its entry of the command table (CliCommands.cpp).
    CliOutcome ports();
    CliOutcome read();
    CliOutcome write();
    CliOutcome verify();
    CliOutcome show();
    // Move mode and the controller modes (CliSessionOps.cpp).
    CliOutcome moveTo();
    CliOutcome home();
    CliOutcome reset();
    CliOutcome version();
    CliOutcome mode();
    CliOutcome print();
    // The I/O monitor.
    CliOutcome io();
    // Single items and the write's preview (CliSessionItems.cpp).
    CliOutcome get();
    CliOutcome set();
    // The journal of writes (CliSessionJournal.cpp).
    CliOutcome history();
    CliOutcome undo();

private:
    // --json: what the command found goes into the document printed at the end, not onto lines.
    bool json() const { return m_request.json; }
    // Prints word once result is done (not with --json), then ends as ended() does.
    CliOutcome doneWord(const OpResult &result, const char *word);
    // move repeat --count / --csv: the cycle test (CliSessionCycle.cpp).
    bool cycleTestAsked() const;
    CliOutcome cycleTest();
    // write --dry-run: the items the write would change.
    CliOutcome dryRun();
    // The controller's data into the read copy; a failure has been told.
    OpResult readController();
    // After the controller's read (given as read), gives these items these values, writes
    // (journalled with the values read) and, with --restart, reads back; every other item keeps
    // the controller's value.
    CliOutcome changeItems(const QList<std::pair<const QvItem *, qint32>> &values,
                           const OpResult &read);
    // The items a write would change: label, the controller's value and the new one (under
    // newKey with --json).
    void printChanges(const QList<ItemDifference> &changes, const QString &newKey);
    // The device of the controller the command line names (the stored port when none); "COMn"
    // for a number the port map leads nowhere.
    QString namedDevice();
    // A failure of the front end's own, told.
    CliOutcome refused(const QString &text);
    // history ENTRY: the items the entry changed; named: a controller was named.
    CliOutcome historyEntry(bool named);

    // An operation's result as the command's outcome. When the port could not be opened or the
    // line went away, says which port it was; that is then the reason unless a message came
    // first.
    CliOutcome ended(OpResult result);
    // The file named on the command line into the working copy, as if opened in the window.
    OpResult takeFile();
    // --backup: the controller's data saved to the backup file; a failure has been told.
    OpResult saveBackup();
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
    QJsonObject m_json;
    // The port's own words where the port failed (a device not there, a line gone), told beside
    // the result's first message.
    QString m_portReason;
    const std::atomic_bool *m_stopFlag = nullptr;
};
