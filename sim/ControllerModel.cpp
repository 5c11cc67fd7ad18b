#include "sim/ControllerModel.h"

#include <algorithm>
#include <cstdlib>

namespace {

const QByteArray CrLf("\r\n");

bool isHex(const QString &text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
               (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
    });
}

ControllerModel::Answer reply(const QString &text, int delayMs = 0) {
    return {text.toLatin1() + CrLf, delayMs};
}

ControllerModel::Answer error(const char *code) {
    return reply(QStringLiteral("0%%") + QLatin1String(code));
}

QString hex(int value, int width) {
    return QString::number(value, 16).toUpper().rightJustified(width, QLatin1Char('0'));
}

} // namespace

ControllerModel::ControllerModel() {
    // The controller's initial values: position 1 and 2 at velocity step 10, acceleration 3,
    // deceleration 2, pause 5, at 400 and 200 pulses; the sensor and homing parameters as the
    // controller leaves the factory.
    m_blocks[QStringLiteral("02")] = QStringLiteral("28030200019005FF");
    m_blocks[QStringLiteral("04")] = QStringLiteral("2803020000C805FF");
    m_blocks[QStringLiteral("05")] = QStringLiteral("28030205FFFFFFFF");
    m_blocks[QStringLiteral("03")] = QStringLiteral("28030205FFFFFFFF");
    m_blocks[QStringLiteral("00")] = QStringLiteral("08012C060002FF00");
    m_blocks[QStringLiteral("01")] = QStringLiteral("0864C8640F1400FF");
    m_blocks[QStringLiteral("1F")] = QStringLiteral("FFFFFFFFFFFF55AA");
    m_running.start();
    m_clock = [this] { return m_running.elapsed(); };
}

ControllerModel::Answer ControllerModel::process(const QString &line) {
    const QString command = line.left(3);
    const QString data = line.mid(3);
    if (line == QLatin1String("0CM1") || line == QLatin1String("0CM0"))
        return reply(line);
    if (line == QLatin1String("0CM3")) {
        // Restart: the written blocks take effect. The controller restarts without answering.
        for (auto it = m_pending.cbegin(); it != m_pending.cend(); ++it)
            m_blocks[it.key()] = it.value();
        m_pending.clear();
        ++m_restarts;
        return {};
    }
    if (command == QLatin1String("0RD"))
        return readBlock(data);
    if (command == QLatin1String("0WD"))
        return writeBlock(data);
    if (command == QLatin1String("0MP"))
        return move(data);
    if (command == QLatin1String("0WS"))
        return writeOutputs(data);
    if (line == QLatin1String("0%C")) {
        m_alarm.clear();
        return reply(QStringLiteral("0%C00"));
    }
    if (line == QLatin1String("0RV"))
        return reply(QStringLiteral("0RV") + m_version.left(3).leftJustified(3) +
                     QStringLiteral("000"));
    return error("01");
}

ControllerModel::Answer ControllerModel::readBlock(const QString &data) const {
    if (data.length() != 2)
        return error("03");
    if (data == QLatin1String("20")) {
        const Ports p = ports(m_clock());
        return reply(QStringLiteral("0RD20") + QStringLiteral("0000000000") + hex(p.a, 2) +
                     hex(p.b, 2) + hex(p.c, 2));
    }
    if (!m_blocks.contains(data) || data == QLatin1String("03") || data == QLatin1String("1F"))
        return error("02");
    return reply(QStringLiteral("0RD") + data + m_blocks.value(data));
}

ControllerModel::Answer ControllerModel::writeBlock(const QString &data) {
    if (data.length() != 18)
        return error("03");
    if (!isHex(data))
        return error("02");
    const QString number = data.left(2);
    if (!m_blocks.contains(number))
        return error("02");
    m_pending[number] = data.mid(2);
    return reply(QStringLiteral("0WD") + data);
}

int ControllerModel::fieldOf(const QString &block, int first, int width) const {
    return block.mid(first, width).toInt(nullptr, 16);
}

int ControllerModel::moveDuration(qint32 pulses, int velocity) {
    const qint64 ms = 100 + qint64(std::abs(pulses)) * 100 / std::max(velocity, 1);
    return int(std::min<qint64>(ms, 4000));
}

ControllerModel::Answer ControllerModel::move(const QString &data) {
    if (data.length() != 1)
        return error("03");
    if (!m_alarm.isEmpty())
        return reply(QStringLiteral("0%%") + m_alarm);
    qint32 target = 0;
    int velocity = 0;
    if (data == QLatin1String("0")) {
        velocity = fieldOf(block(QStringLiteral("00")), 0, 2) * 4;
    } else if (data == QLatin1String("1")) {
        target = fieldOf(block(QStringLiteral("02")), 6, 6);
        velocity = fieldOf(block(QStringLiteral("02")), 0, 2);
    } else if (data == QLatin1String("2")) {
        target = fieldOf(block(QStringLiteral("04")), 6, 6);
        velocity = fieldOf(block(QStringLiteral("05")), 0, 2);
    } else {
        return error("02");
    }
    double duration = m_moveTime > 0 ? double(m_moveTime)
                                     : moveDuration(target - m_position, velocity) * m_moveScale;
    if (m_jitter > 0)
        duration *= 1.0 + m_jitter * (2.0 * m_random.generateDouble() - 1.0);
    m_position = target;
    return reply(QStringLiteral("0MP") + data + hex(target, 6), int(duration));
}

ControllerModel::Answer ControllerModel::writeOutputs(const QString &data) {
    if (data.length() != 2)
        return error("03");
    if (!isHex(data))
        return error("02");
    m_outputMask = data.left(1).toInt(nullptr, 16);
    return reply(QStringLiteral("0WS") + data);
}

ControllerModel::Ports ControllerModel::ports(qint64 ms) const {
    // Inputs are active low. The run command is on; parts arrive on the rail and reach the tip
    // in a cycle of 1.5 s; the alignment pause comes for 1 s in every 3 s.
    const bool railWork = ms % 1500 < 1200;
    const bool tipWork = ms % 1500 >= 600 && ms % 1500 < 1000;
    const bool pause = ms % 3000 < 1000;
    Ports p = m_held;
    if (!m_holding) {
        p.c = 0x04 | (railWork ? 0 : 0x20);
        p.b = pause ? 0 : 0x08;
        p.a = tipWork ? 0 : 0x10;
    }
    // Outputs: no work 1, stopped 2, take-out OK 4, escape solenoid 8.
    if (m_outputMask & 1)
        p.a |= 0x08;
    if (m_outputMask & 2)
        p.a |= 0x20;
    if (m_outputMask & 4)
        p.b |= 0x40;
    if (m_outputMask & 8)
        p.b |= 0x80;
    return p;
}

void ControllerModel::holdPorts(const Ports &ports) {
    m_holding = true;
    m_held = {ports.a & ~0x28, ports.b & ~0xC0, ports.c};
    m_outputMask = ((ports.a & 0x08) ? 1 : 0) | ((ports.a & 0x20) ? 2 : 0) |
                   ((ports.b & 0x40) ? 4 : 0) | ((ports.b & 0x80) ? 8 : 0);
}
