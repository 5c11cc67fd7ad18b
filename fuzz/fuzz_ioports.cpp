// Feeds arbitrary text as the reply to the I/O block read, read as Latin-1 and as UTF-8. A taken
// reply must give port bytes that written back in upper-case hexadecimal are the reply's
// characters 16 to 21; a refused one must have a character there that is no such digit (or be
// too short), and must leave the port bytes as they were. Each lamp must follow its own bit
// alone, and the outputs shown must make a "0WS" pattern of one digit and "0".

#include "fuzz/FuzzSupport.h"
#include "iomon/IoSignals.h"

namespace {

bool hexDigits(QStringView text) {
    for (QChar c : text) {
        if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F')))
            return false;
    }
    return text.size() == 6;
}

int &portByte(IoPorts &ports, IoSignal::Port port) {
    return port == IoSignal::Port::A ? ports.a : port == IoSignal::Port::B ? ports.b : ports.c;
}

void checkReply(const QString &reply) {
    const IoPorts before{-1, 256, 0x7FFF};
    IoPorts ports = before;
    const QStringView bytes = QStringView(reply).mid(15, 6);
    if (!IoSignals::portsFromReply(reply, ports)) {
        fuzz::require(ports == before && !hexDigits(bytes));
        return;
    }
    fuzz::require(QString::asprintf("%02X%02X%02X", ports.a, ports.b, ports.c) == bytes);

    int mask = 0;
    for (const IoSignal &signal : IoSignals::table()) {
        const bool on = signal.isActive(ports);
        IoPorts flipped = ports;
        portByte(flipped, signal.port) ^= signal.bit;
        fuzz::require(signal.isActive(flipped) != on);
        portByte(flipped, signal.port) = portByte(ports, signal.port) ^ (0xFF & ~signal.bit);
        fuzz::require(signal.isActive(flipped) == on);
        if (signal.isOutput() && on)
            mask += signal.mask;
    }
    const QString pattern = IoSignals::outputData(mask);
    fuzz::require(mask <= 15 && pattern.size() == 2 && pattern.toInt(nullptr, 16) == mask * 16 &&
                  pattern == pattern.toUpper());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray input = fuzz::bytes(data, size);
    checkReply(QString::fromLatin1(input));
    checkReply(QString::fromUtf8(input));
    // A name on qvpc-cli's command line is an output's or none.
    const int named = IoSignals::outputNamed(QString::fromUtf8(input));
    fuzz::require(named == -1 || (IoSignals::table()[size_t(named)].isOutput() &&
                                  input == IoSignals::table()[size_t(named)].cliName));
    return 0;
}
