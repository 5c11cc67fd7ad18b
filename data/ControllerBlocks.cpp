#include "data/ControllerBlocks.h"

#include "base/MessageLines.h"
#include "base/ResText.h"
#include "base/UserPrompt.h"
#include "base/VbNumber.h"

#include <limits>
#include <optional>

QString HexField(qint32 value, qint16 width) {
    const QString hex = QString::number(static_cast<quint32>(value), 16).toUpper();
    if (hex.size() > width)
        return QStringLiteral("X");
    return hex.rightJustified(width, u'0');
}

namespace {

const QString Filler = QStringLiteral("FF");
const QString Filler4 = QStringLiteral("FFFFFFFF");

// The sensor items in the order of their block, a byte each.
using D = QvData;
constexpr qint16 D::*SensorOrder[] = {&D::SupplyCounter,
                                      &D::RestartDelay,
                                      &D::NoWorkCounter,
                                      &D::SeparateTimer,
                                      &D::MidDetectCounter,
                                      &D::TipWorkOffTimer,
                                      &D::Sp1};

// The velocity step as the controller stores it (four times the step), in 16-bit arithmetic.
std::optional<QString> velocityField(qint16 step) {
    const int product = int(step) * 4;
    if (product < std::numeric_limits<qint16>::min() ||
        product > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return HexField(product, 2);
}

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

int charAt(const QString &reply, int index) // -1 past the end or not hexadecimal
{
    return index < reply.size() ? hexDigit(reply[index]) : -1;
}

// A field of width characters at the 1-based reply position; no value when any character is not
// hexadecimal or lies beyond the reply.
std::optional<qint32> fieldAt(const QString &reply, int position, int width) {
    qint32 value = 0;
    for (int i = 0; i < width; ++i) {
        const int digit = charAt(reply, position - 1 + i);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + digit;
    }
    return value;
}

// Takes the fields of the replies one by one; a single field that cannot be read spoils the
// whole decoding.
class FieldTaker {
public:
    bool ok() const { return m_ok; }

    qint32 wide(const QString &reply, int position, int width) {
        const auto value = fieldAt(reply, position, width);
        m_ok = m_ok && value.has_value();
        return value.value_or(0);
    }
    qint16 byte(const QString &reply, int position) { return qint16(wide(reply, position, 2)); }
    // The velocity step: the stored byte divided by 4, halves to the even neighbour.
    qint16 velocity(const QString &reply, int position) {
        return qint16(VbNumber::roundHalfEven(byte(reply, position) / 4.0));
    }

private:
    bool m_ok = true;
};

} // namespace

qint16 SetData2PSDA(const QvData &working, bool parametersActive,
                    ControllerBlocks::WriteBlocks &blocks, UserPrompt &prompt) {
    using namespace ControllerBlocks;
    const auto fail = [&prompt] {
        prompt.MsgBox(joinLines({ResText(248), ResText(249)}));
        return qint16(1);
    };

    const auto vel1 = velocityField(working.Vel1);
    if (!vel1)
        return fail();
    const QString motion1 = *vel1 + HexField(working.Acc1, 2) + HexField(working.Dec1, 2);
    blocks[0] = QString::fromLatin1(WriteOrder[0]) + motion1 + HexField(working.Pulse1, 6) +
                HexField(working.PauseTime1, 2) + Filler;
    blocks[1] = QString::fromLatin1(WriteOrder[1]) + motion1 + HexField(working.Pulse2, 6) +
                HexField(working.PauseTime2, 2) + Filler;

    const auto vel2 = velocityField(working.Vel2);
    if (!vel2)
        return fail();
    const QString motion2 = *vel2 + HexField(working.Acc2, 2) + HexField(working.Dec2, 2);
    blocks[2] =
        QString::fromLatin1(WriteOrder[2]) + motion2 + HexField(working.PauseTime2, 2) + Filler4;

    if (parametersActive) {
        blocks[HomingRow] = QString::fromLatin1(WriteOrder[HomingRow]) +
                            HexField(working.HomingVel, 2) + HexField(working.HomingPulse, 4) +
                            HexField(working.OffsetVel, 2) + HexField(working.OffsetPulse, 4) +
                            Filler + HexField(working.RevDir, 2);
        QString sensor = QString::fromLatin1(WriteOrder[SensorRow]);
        for (qint16 D::*item : SensorOrder)
            sensor += HexField(working.*item, 2);
        blocks[SensorRow] = sensor + Filler;
    }

    blocks[5] =
        QString::fromLatin1(WriteOrder[5]) + motion2 + HexField(working.PauseTime1, 2) + Filler4;
    blocks[6] = QString::fromLatin1(WriteOrder[6]) + QStringLiteral("FFFFFFFFFFFF55AA");
    return 0;
}

qint16 Extract2temp(const ControllerBlocks::ReadReplies &replies, QvData &read) {
    const QString &pos1 = replies[0];
    const QString &pos2 = replies[1];
    const QString &motion2 = replies[2];
    const QString &homing = replies[3];
    const QString &sensor = replies[4];

    FieldTaker take;
    QvData d;
    // VEL, ACC and DEC of a position stand at the start of its motion reply.
    const auto motion = [&take](const QString &reply, qint16 &vel, qint16 &acc, qint16 &dec) {
        vel = take.velocity(reply, 6);
        acc = take.byte(reply, 8);
        dec = take.byte(reply, 10);
    };
    motion(pos1, d.Vel1, d.Acc1, d.Dec1);
    d.Pulse1 = take.wide(pos1, 12, 6);
    d.PauseTime1 = take.byte(pos1, 18);
    d.Pulse2 = take.wide(pos2, 12, 6);
    d.PauseTime2 = take.byte(pos2, 18);
    motion(motion2, d.Vel2, d.Acc2, d.Dec2);

    d.HomingVel = take.byte(homing, 6);
    d.HomingPulse = take.wide(homing, 8, 4);
    d.OffsetVel = take.byte(homing, 12);
    d.OffsetPulse = take.wide(homing, 14, 4);
    d.RevDir = take.byte(homing, 20);

    int at = 6;
    for (qint16 D::*item : SensorOrder) {
        d.*item = take.byte(sensor, at);
        at += 2;
    }

    if (!take.ok())
        return 1;
    read = d;
    return 0;
}
