#include "data/RangeCheck.h"

#include "app/ResText.h"
#include "app/UserPrompt.h"
#include "data/QvData.h"

namespace RangeCheck {

namespace {

const QString CrLf = QStringLiteral("\r\n");

// One group line: its heading, " - ", then the name of each item out of range followed by ",".
class Group {
public:
    explicit Group(int headingId) : m_line(ResText(headingId) + QStringLiteral(" - ")) {}

    void check(qint64 value, qint64 low, qint64 high, int nameId) {
        if (value >= low && value <= high)
            return;
        m_failed = true;
        m_line += ResText(nameId) + u',';
    }
    bool failed() const { return m_failed; }
    const QString &line() const { return m_line; }

private:
    QString m_line;
    bool m_failed = false;
};

constexpr qint64 LargestPulse = 0xFFFFFF;

void checkPosition(Group &g, qint16 vel, qint16 acc, qint16 dec, qint16 pause, qint32 pulse) {
    g.check(vel, 1, 30, 29);
    g.check(acc, 1, 9, 30);
    g.check(dec, 1, 9, 31);
    g.check(pause, 0, 255, 32);
    g.check(pulse, 0, LargestPulse, 33);
}

} // namespace

QString outOfRangeList(const QvData &d, bool parametersActive) {
    Group position1(34), position2(35), sensors(36), homing(44);
    checkPosition(position1, d.Vel1, d.Acc1, d.Dec1, d.PauseTime1, d.Pulse1);
    checkPosition(position2, d.Vel2, d.Acc2, d.Dec2, d.PauseTime2, d.Pulse2);
    if (parametersActive) {
        homing.check(d.HomingVel, 1, 16, 45);
        homing.check(d.HomingPulse, 1, 600, 46);
        homing.check(d.OffsetVel, 1, 16, 47);
        homing.check(d.OffsetPulse, 1, 600, 48);
        sensors.check(d.SeparateTimer, 1, 255, 37);
        sensors.check(d.SupplyCounter, 1, 255, 38);
        sensors.check(d.RestartDelay, 1, 255, 39);
        sensors.check(d.MidDetectCounter, 1, 255, 40);
        sensors.check(d.NoWorkCounter, 1, 255, 41);
        sensors.check(d.TipWorkOffTimer, 1, 255, 42);
        sensors.check(d.Sp1, 0, 255, 43);
        sensors.check(d.RevDir, 0, 1, 243);
    }

    QString list;
    for (const Group *g : {&position1, &position2})
        if (g->failed())
            list += g->line() + CrLf;
    // The parameter groups each put an empty line in front of what is listed so far.
    for (const Group *g : {&sensors, &homing})
        if (g->failed())
            list = CrLf + list + g->line() + CrLf;
    return list;
}

QString message(const QvData &data, bool parametersActive) {
    const QString list = outOfRangeList(data, parametersActive);
    if (list.isEmpty())
        return {};
    return ResText(244) + CrLf + ResText(245) + CrLf + list;
}

qint16 Check_DataRange(const QvData &data, bool parametersActive, UserPrompt &prompt) {
    const QString text = message(data, parametersActive);
    if (text.isEmpty())
        return 0;
    prompt.MsgBox(text, MsgButtons::OkOnly, MsgIcon::None);
    return 1;
}

} // namespace RangeCheck
