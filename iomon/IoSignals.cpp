#include "iomon/IoSignals.h"

namespace {

int byteAt(const QString &reply, int first, bool &ok) {
    bool good = false;
    const QStringView digits = QStringView(reply).mid(first, 2);
    const int value = digits.size() == 2 ? digits.toInt(&good, 16) : 0;
    // toInt would take a sign or a blank; the controller sends two hexadecimal digits.
    for (QChar c : digits)
        good = good && ((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F'));
    ok = ok && good;
    return good ? value : 0;
}

} // namespace

bool IoSignal::isActive(const IoPorts &ports) const {
    const int byte = port == Port::A ? ports.a : port == Port::B ? ports.b : ports.c;
    return ((byte & bit) != 0) == activeHigh;
}

const std::array<IoSignal, IoSignals::Count> &IoSignals::table() {
    using P = IoSignal::Port;
    static const std::array<IoSignal, Count> all = {{
        {411, P::C, 0x02, false, 0, "run", "run"},                 // run command
        {412, P::C, 0x04, false, 0, "continuous", "continuous"},   // continuous run
        {413, P::B, 0x08, false, 0, "pause", "pause"},             // alignment pause
        {414, P::A, 0x10, false, 0, "tip-sensor", "tip_sensor"},   // tip work sensor
        {415, P::C, 0x20, false, 0, "rail-sensor", "rail_sensor"}, // rail work sensor
        {416, P::A, 0x20, true, 2, "stopped", "stopped"},          // stopped
        {417, P::B, 0x40, true, 4, "take-out", "take_out"},        // take-out OK
        {418, P::B, 0x80, true, 8, "escape", "escape"},            // escape solenoid
        {419, P::A, 0x08, true, 1, "no-work", "no_work"},          // no work
    }};
    return all;
}

bool IoSignals::portsFromReply(const QString &reply, IoPorts &ports) {
    bool ok = true;
    // "0RD20", then bytes B0 to B7 as two characters each; B5 to B7 are the ports.
    const IoPorts read{byteAt(reply, 15, ok), byteAt(reply, 17, ok), byteAt(reply, 19, ok)};
    if (ok)
        ports = read;
    return ok;
}

quint16 IoSignals::states(const IoPorts &ports) {
    quint16 bits = 0;
    for (int i = 0; i < Count; ++i)
        bits |= quint16(table()[size_t(i)].isActive(ports) ? 1U << i : 0U);
    return bits;
}

QString IoSignals::outputData(int mask) {
    return QString::number(mask & 0xF, 16).toUpper() + QLatin1Char('0');
}

int IoSignals::outputNamed(const QString &name) {
    for (int i = 0; i < Count; ++i) {
        if (table()[i].isOutput() && name == QLatin1String(table()[i].cliName))
            return i;
    }
    return -1;
}
