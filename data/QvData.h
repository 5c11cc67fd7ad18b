#pragma once

#include <QtGlobal>

// The settings set the program edits: two stored positions, seven sensor parameters, the
// rotation direction and four homing parameters.
struct QvData {
    // Position 1 and 2 (always active).
    qint16 Vel1 = 0;
    qint16 Acc1 = 0;
    qint16 Dec1 = 0;
    qint16 PauseTime1 = 0;
    qint32 Pulse1 = 0;
    qint16 Vel2 = 0;
    qint16 Acc2 = 0;
    qint16 Dec2 = 0;
    qint16 PauseTime2 = 0;
    qint32 Pulse2 = 0;
    // Sensor parameters and rotation direction (active only with the parameter frames shown).
    qint16 SeparateTimer = 0;
    qint16 SupplyCounter = 0;
    qint16 RestartDelay = 0;
    qint16 MidDetectCounter = 0;
    qint16 NoWorkCounter = 0;
    qint16 TipWorkOffTimer = 0;
    qint16 Sp1 = 0;
    qint16 RevDir = 0;
    // Homing parameters (active only with the parameter frames shown).
    qint16 HomingVel = 0;
    qint32 HomingPulse = 0;
    qint16 OffsetVel = 0;
    qint32 OffsetPulse = 0;

    bool operator==(const QvData &) const = default;
};

// The two copies the program holds: the working copy (what the editing fields show; written,
// saved, compared and printed) and the read copy (what was last read from the controller or a
// file and not yet adopted).
struct QvDataCopies {
    QvData working;
    QvData read;

    void CopyTemp2Hensu() { working = read; } // read copy -> working copy, all 22 items
    void CopyHensu2Temp() { read = working; } // working copy -> read copy, all 22 items
    // The main screen's start: the direction and the three counters of both copies at 0.
    void setStartValues() {
        for (QvData *copy : {&working, &read}) {
            copy->RevDir = 0;
            copy->SupplyCounter = 0;
            copy->RestartDelay = 0;
            copy->NoWorkCounter = 0;
        }
    }
};
