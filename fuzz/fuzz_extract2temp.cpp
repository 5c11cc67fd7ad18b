// Feeds arbitrary controller replies to the block decoder: the input is cut into the five
// 23-character replies of a read (the last ones may be short or missing). A refused read must
// leave the read copy as it was; a decoded one must hold values a block can carry, and where
// every value fits its block, encoding and decoding again must give the same data.

#include "data/ControllerBlocks.h"
#include "fuzz/FuzzSupport.h"

#include <algorithm>
#include <cstdint>

namespace {

bool within(qint32 value, qint32 high) {
    return value >= 0 && value <= high;
}

bool plausible(const QvData &d) {
    for (qint16 byte : {d.Acc1, d.Dec1, d.PauseTime1, d.Acc2, d.Dec2, d.PauseTime2, d.HomingVel,
                        d.OffsetVel, d.RevDir, d.SupplyCounter, d.RestartDelay, d.NoWorkCounter,
                        d.SeparateTimer, d.MidDetectCounter, d.TipWorkOffTimer, d.Sp1}) {
        if (!within(byte, 255))
            return false;
    }
    return within(d.Vel1, 64) && within(d.Vel2, 64) && within(d.Pulse1, 0xFFFFFF) &&
           within(d.Pulse2, 0xFFFFFF) && within(d.HomingPulse, 0xFFFF) &&
           within(d.OffsetPulse, 0xFFFF);
}

QString asReply(const QString &writeData) {
    return QStringLiteral("0RD") + writeData + QStringLiteral("\r\n");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    constexpr size_t ReplyLength = 23;
    ControllerBlocks::ReadReplies replies;
    for (size_t i = 0; i < replies.size(); ++i) {
        const size_t offset = i * ReplyLength;
        if (offset < size)
            replies[i] = QString::fromLatin1(reinterpret_cast<const char *>(data) + offset,
                                             qsizetype(std::min(ReplyLength, size - offset)));
    }

    QvData read;
    read.Vel1 = -1; // no reply can give this
    const QvData before = read;
    if (Extract2temp(replies, read) != 0) {
        if (!(read == before))
            __builtin_trap();
        return 0;
    }
    if (!plausible(read))
        __builtin_trap();

    if (read.Vel1 < 64 && read.Vel2 < 64) {
        using namespace ControllerBlocks;
        WriteBlocks blocks;
        fuzz::TrappingPrompt prompt;
        if (SetData2PSDA(read, true, blocks, prompt) != 0)
            __builtin_trap();
        const ReadReplies again = {asReply(blocks[0]), asReply(blocks[1]), asReply(blocks[2]),
                                   asReply(blocks[HomingRow]), asReply(blocks[SensorRow])};
        QvData back;
        if (Extract2temp(again, back) != 0 || !(back == read))
            __builtin_trap();
    }
    return 0;
}
