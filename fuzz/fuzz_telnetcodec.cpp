// Feeds arbitrary bytes from a serial device server to the Telnet codec, after it has asked for
// the COM-port option and the line settings. The first byte says where the rest is cut in two:
// decoded in two pieces it must give the same controller bytes, the same answers to the server
// and the same negotiation as in one. Neither the controller's bytes nor the answers may outgrow
// what came in. The controller's bytes, framed by one codec, must come out of another unchanged.

#include "fuzz/FuzzSupport.h"
#include "link/TelnetCodec.h"

namespace {

struct Decoded {
    QByteArray data;
    QByteArray answers;
    TelnetCodec codec;
};

Decoded decode(const QByteArray &input, qsizetype cut) {
    Decoded d;
    d.codec.startNegotiation();
    d.codec.comPortSettings();
    d.codec.decode(input.constData(), cut, d.data);
    d.answers = d.codec.takeOutgoing();
    d.codec.decode(input.constData() + cut, input.size() - cut, d.data);
    d.answers += d.codec.takeOutgoing();
    return d;
}

bool sameState(const TelnetCodec &a, const TelnetCodec &b) {
    bool same =
        a.binaryIn() == b.binaryIn() && a.binaryOut() == b.binaryOut() &&
        a.comPortAgreed() == b.comPortAgreed() && a.comPortRefused() == b.comPortRefused() &&
        a.firstDifferent() == b.firstDifferent() && a.firstUnanswered() == b.firstUnanswered();
    for (int i = 0; i < TelnetCodec::SettingCount; ++i)
        same = same && a.answer(i) == b.answer(i);
    return same;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    const QByteArray input = fuzz::bytes(data + 1, size - 1);
    const qsizetype cut = input.isEmpty() ? 0 : data[0] % (input.size() + 1);
    const Decoded whole = decode(input, 0);
    const Decoded split = decode(input, cut);
    fuzz::require(whole.data == split.data && whole.answers == split.answers &&
                  sameState(whole.codec, split.codec));
    fuzz::require(whole.data.size() <= input.size() && whole.answers.size() <= input.size());

    // Framed as the negotiation left it, taken in by a codec that agreed to the same.
    const QByteArray framed = whole.codec.encode(input.constData(), input.size());
    TelnetCodec reader;
    QByteArray agreed;
    if (whole.codec.binaryOut()) {
        reader.startNegotiation();
        reader.decode("\xff\xfb\x00", 3, agreed); // the peer's WILL BINARY
    }
    QByteArray back;
    reader.decode(framed.constData(), framed.size(), back);
    fuzz::require(back == input);
    return 0;
}
