#pragma once

#include "base/MainScreen.h"
#include "base/ProgressView.h"
#include "base/StoredSettings.h"
#include "data/ControllerTransfer.h"
#include "data/FileOperations.h"
#include "data/QvData.h"
#include "data/Verification.h"
#include "link/ControllerLink.h"
#include "sim/ControllerSimulator.h"
#include "support/ScriptedFileDialogs.h"
#include "support/ScriptedPrompt.h"
#include "support/SessionFixture.h"
#include "support/StandInScreen.h"

#include <QStringList>

// The main window as the operations see it: records the brackets and screen calls, answers the
// screen check as told and keeps what the fields would show.
class RecordingScreen : public StandInScreen {
public:
    explicit RecordingScreen(QvDataCopies &copies) : m_copies(copies) {}

    QvData fields; // what the editing fields show

    bool ScreenCheck() override {
        const bool passes = StandInScreen::ScreenCheck();
        if (passes)
            m_copies.working = fields;
        return passes;
    }
    void ShowQvData() override {
        StandInScreen::ShowQvData();
        fields = m_copies.working;
    }

private:
    QvDataCopies &m_copies;
};

// The progress window as a record of what it was told.
class RecordingProgress : public ProgressView {
public:
    QStringList events;
    QList<int> values;
    bool visible = false;

    void show() override {
        visible = true;
        events.append(QStringLiteral("show"));
    }
    void unload() override {
        visible = false;
        events.append(QStringLiteral("unload"));
    }
    void setLabel(const QString &text) override { events.append(QStringLiteral("label ") + text); }
    void setMaximum(int maximum) override {
        events.append(QStringLiteral("max ") + QString::number(maximum));
    }
    void setValue(int value) override { values.append(value); }
};

// The simulated controller on a pty as the port of a link, with the operations wired as the
// main window wires them.
struct TransferFixture : SessionFixture {
    ControllerSimulator sim;
    ScriptedFileDialogs dialogs;
    RecordingScreen screen{copies};
    RecordingProgress progress;
    FileOperations &files;
    ControllerTransfer &transfer;
    Verification &verification;

    explicit TransferFixture(bool occupyPort = true)
        : files((session.attach(screen, dialogs, progress), session.files())),
          transfer(session.transfer()), verification(session.verification()) {
        settings.PortNo = 1;
        settings.OccupyPort = occupyPort;
        link.setDeviceOverride(sim.devicePath());
    }

    QStringList sent() const { return sim.receivedLines(); }
};

// The controller's data as it leaves the factory (the simulator's initial blocks).
inline QvData factoryData() {
    QvData d;
    d.Vel1 = 10, d.Acc1 = 3, d.Dec1 = 2, d.PauseTime1 = 5, d.Pulse1 = 400;
    d.Vel2 = 10, d.Acc2 = 3, d.Dec2 = 2, d.PauseTime2 = 5, d.Pulse2 = 200;
    d.HomingVel = 8, d.HomingPulse = 300, d.OffsetVel = 6, d.OffsetPulse = 2, d.RevDir = 0;
    d.SupplyCounter = 8, d.RestartDelay = 100, d.NoWorkCounter = 200, d.SeparateTimer = 100;
    d.MidDetectCounter = 15, d.TipWorkOffTimer = 20, d.Sp1 = 0;
    return d;
}

inline SimFault faultOn(const QString &match) {
    SimFault f;
    f.match = match;
    return f;
}

// The communication check sent before each exchange.
inline const QString Check = QStringLiteral("0CM1");

// What a read of the controller sends: the check, then the five blocks.
inline QStringList readLines() {
    QStringList lines{Check};
    for (const char *block : {"02", "04", "05", "00", "01"})
        lines.append(QStringLiteral("0RD") + QLatin1String(block));
    return lines;
}
