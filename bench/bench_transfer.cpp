// Benchmark: the full read and the full write of the controller's data against the simulator
// paced at 9600 baud. Each is reported as the ratio of its elapsed time to the time the
// characters exchanged need on the wire (10 bits per character at 9600 baud, both directions).
// With --ser2net the same is measured through ser2net over RFC 2217 (the line opened once, as on
// the pty), so the two ratios compare the lines' cost to the exchanges themselves.
#include "BenchSupport.h"
#include "base/FileDialogs.h"
#include "base/SilentProgress.h"
#include "base/StoredSettings.h"
#include "base/UserPrompt.h"
#include "base/WindowlessScreen.h"
#include "data/ControllerTransfer.h"
#include "data/FileOperations.h"
#include "data/QvData.h"
#include "link/ControllerLink.h"
#include "session/Session.h"
#include "sim/ControllerSimulator.h"
#include "sim/Ser2NetRunner.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Every question answered with its first button; every text printed if it is not expected.
class AgreeingPrompt : public UserPrompt {
public:
    QStringList texts;
    MsgAnswer MsgBox(const QString &text, MsgButtons buttons, MsgIcon) override {
        texts.append(text);
        return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? MsgAnswer::Yes
                                                                                  : MsgAnswer::Ok;
    }
};

class BenchScreen : public WindowlessScreen {
public:
    explicit BenchScreen(QvDataCopies &copies) : m_copies(copies) {}
    QvData fields;
    bool ScreenCheck() override {
        m_copies.working = fields;
        return true;
    }
    void ShowQvData() override {
        WindowlessScreen::ShowQvData();
        fields = m_copies.working;
    }
    bool ParametersActive() const override { return true; }

private:
    QvDataCopies &m_copies;
};

class NoDialogs : public FileDialogs {
protected:
    QString chooseOpen(const Options &) override { return {}; }
    QString chooseSave(const Options &) override { return {}; }
};

// Characters on the wire for the lines the controller received and its replies: a line and its
// CR LF; the reply of the same length for a block or check, none for the restart.
qint64 wireCharacters(const QStringList &lines) {
    qint64 total = 0;
    for (const QString &line : lines) {
        total += line.size() + 2;
        if (line != QLatin1String("0CM3"))
            total += line.startsWith(QLatin1String("0CM")) ? 6 : 23;
    }
    return total;
}

struct Figures {
    double ratio = 0;
    qint64 characters = 0;
    double elapsedMs = 0;
};

Figures measure(ControllerSimulator &sim, const std::function<void()> &run) {
    sim.clearReceived();
    QElapsedTimer clock;
    clock.start();
    run();
    const double elapsedMs = clock.nsecsElapsed() / 1e6;
    const qint64 characters = wireCharacters(sim.receivedLines());
    const double wireMs = characters * ControllerSimulator::CharacterNs / 1e6;
    return {elapsedMs / wireMs, characters, elapsedMs};
}

void report(const char *name, std::vector<Figures> runs) {
    std::sort(runs.begin(), runs.end(),
              [](const Figures &a, const Figures &b) { return a.ratio < b.ratio; });
    const Figures &median = runs[runs.size() / 2];
    std::printf("%-6s %3lld characters, wire %.1f ms, elapsed median %.1f ms, ratio median %.3f "
                "(best %.3f, worst %.3f, %zu runs)\n",
                name, static_cast<long long>(median.characters),
                median.characters * ControllerSimulator::CharacterNs / 1e6, median.elapsedMs,
                median.ratio, runs.front().ratio, runs.back().ratio, runs.size());
}

} // namespace

int main(int argc, char *argv[]) {
    const OwnSettingsFolder config;
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 && argv[1][0] != '-' ? std::max(1, atoi(argv[1])) : 9;

    ControllerSimulator sim;
    if (!sim.isOpen()) {
        std::fprintf(stderr, "no pty: %s\n", qPrintable(sim.errorString()));
        return 1;
    }
    sim.setPaced(true);
    const bool viaSer2net = QCoreApplication::arguments().contains(QStringLiteral("--ser2net"));
    Ser2NetRunner ser2net;
    QString line = sim.devicePath();
    if (viaSer2net) {
        line = ser2net.add(sim.devicePath(), NetAddress::Kind::Rfc2217);
        if (!ser2net.start()) {
            std::fprintf(stderr, "ser2net: %s\n", qPrintable(ser2net.error()));
            return 1;
        }
    }
    AgreeingPrompt prompt;
    Session session(prompt);
    session.settings.PortNo = 1;
    session.settings.OccupyPort = true;
    ControllerLink &link = session.link;
    link.setDeviceOverride(line);
    QvDataCopies &copies = session.copies;
    BenchScreen screen(copies);
    SilentProgress progress;
    NoDialogs dialogs;
    session.attach(screen, dialogs, progress);
    ControllerTransfer &transfer = session.transfer();

    // Open the port once, so that every run measures the exchanges alone.
    if (!link.OpenPort().isDone()) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(sim.devicePath()));
        return 1;
    }

    std::vector<Figures> reads, writes;
    int failed = 0;
    const auto count = [&failed](const OpResult &result) { failed += result.isDone() ? 0 : 1; };
    for (int i = 0; i < runs; ++i) {
        reads.push_back(measure(sim, [&] { count(transfer.OnlineDataRead()); }));
        screen.fields = copies.working;
        screen.fields.Pulse1 = 400 + i; // a write that changes something each run
        writes.push_back(measure(sim, [&] { count(transfer.LoadtoCt()); }));
    }
    // The last read saw the next-to-last write (none on a single run: the factory's 400).
    if (failed != 0 || prompt.texts.size() != 3 * runs ||
        copies.read.Pulse1 != 400 + std::max(runs - 2, 0)) {
        std::fprintf(stderr, "%d operations failed\n", failed);
        std::fprintf(stderr, "unexpected messages or data:\n%s\n",
                     qPrintable(prompt.texts.join(QLatin1Char('\n'))));
        return 1;
    }
    report("read", reads);
    report("write", writes);
    return 0;
}
