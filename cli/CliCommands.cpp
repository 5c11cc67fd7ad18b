// The commands of qvpc-cli: each one's name, what runs it, its options, its help.
#include "cli/CliCommands.h"

#include "cli/CliArguments.h"
#include "cli/CliSession.h"

#include <algorithm>
#include <iterator>

namespace {

using enum CliCommand::Takes;
using enum CliCommand::Traits;

const CliCommand Commands[] = {
    {"ports", &CliSession::ports, 0, Offline, nullptr,
     "List the port map's COM numbers and their devices.",
     "List the COM numbers of the port map with their device paths and descriptions."},
    {"read", &CliSession::read, Output, 0, nullptr,
     "Read the controller's settings; print them or save them to a file.",
     "Read the controller (all five blocks). With -o, write them to FILE as a QV data file;\n"
     "otherwise print every item with its name to standard output.\n"
     "An existing FILE is replaced only with --yes; otherwise nothing is read."},
    {"write", &CliSession::write, Parameters | WriteOptions | File, Several | Writes, nullptr,
     "Write a QV data file to the controller (one or several).",
     "Take FILE into the working copy, range-check it and write its blocks to the controller.\n"
     "The question \"transmit the data?\" is answered OK only with --yes; without it the\n"
     "command stops there and nothing is sent. The question \"reset the controller?\" after\n"
     "the write is answered OK only with --restart (\"0CM3\"); without it the data stay\n"
     "written and the controller is not restarted.\n"
     "With --backup the controller's data are read and saved to BACKUP first; if that fails,\n"
     "nothing is written. With several controllers BACKUP holds {port}, replaced by each\n"
     "port's name (COM3, ttyUSB0).\n"
     "With --dry-run the controller is read and each item that the write would change is\n"
     "printed: its label, the controller's value and the file's value, tab-separated; nothing\n"
     "is written and no question is asked. Exit status 0 when nothing would change, 1 when\n"
     "something would.\n"
     "With several --port/--device every controller is written at once; one line per\n"
     "controller follows on standard output: the port, a tab, OK or FAILED (a tab, the reason)."},
    {"get", &CliSession::get, 0, Several, readItemArguments,
     "Print single items read from the controller (one or several).",
     "Read the controller and print the named items, one a line: the item's name, a space and\n"
     "its value (\"Vel1 20\"); all 22 items when none is named. Names are those of \"get\"\n"
     "without arguments, in any case."},
    {"set", &CliSession::set, 0, Several | Writes, readItemArguments,
     "Change single items on the controller (one or several).",
     "Read the controller, change only the named items, range-check the result as the window\n"
     "does and write it back; every other item keeps the controller's own value. A sensor or\n"
     "homing item writes the parameter blocks too (with the controller's other parameters).\n"
     "An unknown item or a value out of range is a usage error before anything is sent.\n"
     "The write question is answered OK only with --yes. With --restart the controller is\n"
     "restarted (it takes the new values into effect then) and read back: exit status 1 when\n"
     "it does not hold the values written.\n"
     "With several --port/--device each controller is changed at once, keeping its own other\n"
     "values; one line per controller follows: the port, a tab, OK or FAILED (a tab, the reason)."},
    {"history", &CliSession::history, 0, Offline, readEntryArguments,
     "List the journal of writes, newest first, or what one write changed.",
     "List the journal of writes (of --port N or --device PATH only, when given), newest\n"
     "first, one write a line, tab-separated: its number, the time (UTC), the port, how it\n"
     "ended (written, restarted, restart-failed, failed, interrupted, or under-way while\n"
     "another program still writes it) and how many items it changed; an interrupted or\n"
     "under-way write adds the blocks sent of the blocks to send (2/5). Exit status 1 when\n"
     "the journal's folder cannot be read.\n"
     "With ENTRY, the items that write changed instead, one a line, tab-separated: the\n"
     "item's label, its value before and its value after the write.\n"
     "set and undo are always journalled; write and the window's write only with the journal\n"
     "on (--journal, or Journal=1 in [Settings]), since it costs a read before each write.\n"
     "The last 50 writes of each controller are kept."},
    {"undo", &CliSession::undo, 0, Writes, readEntryArguments,
     "Write the values from before a journalled write back.",
     "Read the controller and write back the values the items changed by journal entry ENTRY\n"
     "(a number of \"history\") held before it; the other items keep the controller's values.\n"
     "Without ENTRY, the newest entry of the controller named by --port/--device (else the\n"
     "stored port); with ENTRY and no controller named, the entry's own controller. The write\n"
     "question is answered OK only with --yes; --restart restarts the controller and reads it\n"
     "back (exit status 1 when it does not hold the values). The undo is journalled too.\n"
     "When the controller already holds every value from before the entry, nothing is\n"
     "written and nothing restarted; the undo says so and ends with status 0.\n"
     "With --dry-run the controller is read and each item the undo would change is printed:\n"
     "its label, the controller's value and the value from before the entry, tab-separated;\n"
     "nothing is written and no question is asked. Exit status 0 when nothing would change,\n"
     "1 when something would."},
    {"verify", &CliSession::verify, Parameters | Details | File, Several, nullptr,
     "Compare a QV data file with the controller (one or several).",
     "Compare FILE with the controller and print the report. Exit status 0 when they agree,\n"
     "1 when they differ or the comparison failed. With --details each differing item follows\n"
     "on standard output: its label, the file's value and the controller's value, tab-separated.\n"
     "With several --port/--device every controller is compared at once; one line per\n"
     "controller follows: the port, a tab, OK, DIFFERENT or FAILED (a tab, the reason)."},
    {"show", &CliSession::show, File, Offline, nullptr, "Print the items of a QV data file.",
     "Print the items of a QV data file with their names."},
    {"move", &CliSession::moveTo, 0, 0, readMoveArguments,
     "Test-move the feeder to a position, or back and forth until Ctrl+C.",
     "Move the feeder to position 1 or 2, or back and forth starting with 2 (repeat), and\n"
     "print each completed position on its own line. A repeat runs until Ctrl+C (SIGINT) or\n"
     "SIGTERM, which act as the Stop button: the move under way completes, and the feeder\n"
     "always stops on a completed move to position 1 (exit status 0). A second Ctrl+C ends\n"
     "the program at once.\n"
     "A cycle test: repeat with --count N ends after N completed moves (on position 1 when N\n"
     "is even; otherwise standard error says where the feeder is) and times each move, from\n"
     "its command to its reply. At the end, after the positions, one line per position,\n"
     "tab-separated under a heading: the moves, the shortest, median, 95th percentile and\n"
     "longest time in ms, and the alarms met. Ctrl+C ends it as above, with the figures of the\n"
     "moves made. --csv FILE writes one row per move (move, target, start in UTC, duration_ms,\n"
     "result), with or without --count; an existing FILE is replaced only with --yes. With\n"
     "--json the document holds the moves, the figures and the position.",
     "POSITION", "1|2|repeat"},
    {"home", &CliSession::home, 0, 0, nullptr, "Home the feeder.",
     "Home the feeder (\"0MP0\") and print \"home\" when it is there."},
    {"reset", &CliSession::reset, 0, 0, nullptr, "Reset the controller's alarm.",
     "Reset the controller's alarm (\"0%C\"), then check the line."},
    {"version", &CliSession::version, 0, 0, nullptr, "Print the controller's version.",
     "Print the controller's version (three characters) to standard output; the message\n"
     "with it goes to standard error."},
    {"mode", &CliSession::mode, 0, 0, nullptr, "Switch the controller's start mode.",
     "Switch the controller to external start mode (\"0CM0\"; its inputs start the moves)\n"
     "or to communication mode (\"0CM1\"; it takes its commands from the serial line).",
     "MODE", "external|communication"},
    {"print", &CliSession::print, Pdf | File, Offline, nullptr,
     "Print a QV data file's report into a PDF file.",
     "Print the report of a QV data file, as the window prints a file's data, into the PDF\n"
     "file OUT.pdf (A4) in the language of --lang. An existing OUT.pdf is replaced only with\n"
     "--yes."},
    {"io", &CliSession::io, 0, 0, readIoArguments,
     "Read, watch or switch the controller's inputs and outputs.",
     "Read the controller's I/O block once and print its nine signals, one a line: the name,\n"
     "a tab, and on (red lamp) or off.\n"
     "--watch reads every 200 ms as the I/O monitor window does: the nine lines once, then a\n"
     "line with the time, the name and the state for each signal that changes; it ends after\n"
     "--count N reads, or at Ctrl+C (SIGINT) or SIGTERM, with status 0.\n"
     "--vcd FILE and --csv FILE record every read of the watch: a VCD (one wire per signal,\n"
     "1 ms steps, only changes) or CSV (time in seconds, the nine signals as 0 or 1), 1 being\n"
     "on; --quiet leaves out the lines. An existing FILE is replaced only with --yes. A file\n"
     "that cannot be written further ends the watch with status 1, the reads before kept.\n"
     "--set switches outputs (NAME: no-work, stopped, take-out, escape): one \"0WS\" with the\n"
     "named outputs as asked and the others as read, then the nine lines as read back."},
};

} // namespace

std::span<const CliCommand> cliCommands() {
    return Commands;
}

const CliCommand *cliCommandNamed(QStringView name) {
    const auto found =
        std::find_if(std::begin(Commands), std::end(Commands),
                     [name](const CliCommand &c) { return name == QLatin1String(c.name); });
    return found == std::end(Commands) ? nullptr : found;
}
