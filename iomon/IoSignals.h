#pragma once

#include <QString>

#include <array>

// The three port bytes of the controller's I/O block "20" (bytes B5, B6 and B7).
struct IoPorts {
    int a = 0;
    int b = 0;
    int c = 0;
    bool operator==(const IoPorts &) const = default;
};

// One of the nine signals the I/O monitor shows: five inputs and four outputs.
struct IoSignal {
    enum class Port { A, B, C };

    int labelId;          // the label's text id
    Port port;            // which port byte holds it
    int bit;              // its bit value in that byte
    bool activeHigh;      // lamp red when the bit is 1; inputs are active low
    int mask;             // an output's value in the "0WS" pattern; 0 for an input
    const char *cliName;  // its name on qvpc-cli's command line and standard output
    const char *wireName; // its name in a recording (a VCD wire, a CSV column)

    bool isOutput() const { return mask != 0; }
    // Whether the red lamp shows for these port bytes.
    bool isActive(const IoPorts &ports) const;
};

namespace IoSignals {

constexpr int Count = 9;
// Positions in the table; the window's controls and the command line's lines follow this order.
enum Index { Run, Continuous, Pause, TipSensor, RailSensor, Stopped, TakeOut, Escape, NoWork };

const std::array<IoSignal, Count> &table();

// The port bytes of a good reply to "0RD20" (23 characters with CR LF); false when one of them
// is not a hexadecimal number.
bool portsFromReply(const QString &reply, IoPorts &ports);

// The nine signals' states for these port bytes, bit i for the signal at table position i (1: red
// lamp).
quint16 states(const IoPorts &ports);
inline bool stateOf(quint16 states, int signal) {
    return (states >> signal) & 1U;
}

// The data of "0WS" for an output pattern 0 to 15: the mask as one upper-case hexadecimal digit,
// then "0".
QString outputData(int mask);

// The table position of the output with this command-line name; -1 when there is none.
int outputNamed(const QString &name);

} // namespace IoSignals
