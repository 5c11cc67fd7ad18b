#include "link/TelnetCodec.h"

#include <utility>

namespace {

// Options we take on either side; everything else is declined.
bool supported(unsigned char option, bool ourSide) {
    if (option == TelnetCodec::Binary || option == TelnetCodec::SuppressGoAhead)
        return true;
    return ourSide && option == TelnetCodec::ComPort;
}

} // namespace

const std::array<TelnetCodec::Setting, TelnetCodec::SettingCount> &TelnetCodec::settings() {
    static const std::array<Setting, SettingCount> list{{
        {SetBaudRate, 9600, 4, 1536},
        {SetDataSize, 8, 1, 1537},
        {SetParity, 1, 1, 1538},
        {SetStopSize, 1, 1, 1539},
        {SetControl, 1, 1, 1544},
    }};
    return list;
}

void TelnetCodec::reset() {
    *this = TelnetCodec();
}

QByteArray TelnetCodec::startNegotiation() {
    // Binary both ways spares the CR NUL of plain Telnet; the COM-port option is what we need.
    m_us[ComPort] = WantYes;
    m_us[Binary] = WantYes;
    m_him[Binary] = WantYes;
    sendCommand(Will, ComPort);
    sendCommand(Will, Binary);
    sendCommand(Do, Binary);
    return takeOutgoing();
}

QByteArray TelnetCodec::comPortSettings() {
    m_settingsSent = true;
    QByteArray out;
    for (const Setting &s : settings()) {
        out += char(Iac);
        out += char(Sb);
        out += char(ComPort);
        out += char(s.command);
        for (int i = s.width - 1; i >= 0; --i) {
            const char byte = char((s.value >> (8 * i)) & 0xff);
            out += byte;
            if (uchar(byte) == Iac)
                out += byte;
        }
        out += char(Iac);
        out += char(Se);
    }
    return out;
}

QByteArray TelnetCodec::takeOutgoing() {
    return std::exchange(m_out, QByteArray());
}

void TelnetCodec::sendCommand(unsigned char command, unsigned char option) {
    m_out += char(Iac);
    m_out += char(command);
    m_out += char(option);
}

void TelnetCodec::decode(const char *bytes, qsizetype size, QByteArray &data) {
    for (qsizetype i = 0; i < size; ++i) {
        const char c = bytes[i];
        const auto b = uchar(c);
        switch (m_rx) {
        case Rx::Data:
            if (b == Iac) {
                m_rx = Rx::Iac;
                break;
            }
            // Outside binary mode a lone CR comes as CR NUL; the NUL is not the controller's.
            if (m_afterCr && b == 0 && !binaryIn()) {
                m_afterCr = false;
                break;
            }
            m_afterCr = b == '\r';
            data += c;
            break;
        case Rx::Iac:
            m_afterCr = false;
            if (b == Iac) {
                data += c;
                m_rx = Rx::Data;
            } else if (b == Will || b == Wont || b == Do || b == Dont) {
                m_rxCommand = b;
                m_rx = Rx::Option;
            } else if (b == Sb) {
                m_sub.clear();
                m_subTooLong = false;
                m_rx = Rx::Sub;
            } else {
                m_rx = Rx::Data; // NOP, GA and the like carry nothing for us
            }
            break;
        case Rx::Option:
            onCommand(m_rxCommand, b);
            m_rx = Rx::Data;
            break;
        case Rx::Sub:
        case Rx::SubIac:
            if (m_rx == Rx::Sub && b == Iac) {
                m_rx = Rx::SubIac;
                break;
            }
            if (m_rx == Rx::SubIac && b != Iac) {
                // IAC SE, or a malformed end: the subnegotiation is over either way.
                onSubnegotiation();
                m_rx = Rx::Data;
                break;
            }
            m_rx = Rx::Sub;
            if (m_sub.size() < MaxSubnegotiation)
                m_sub += c;
            else
                m_subTooLong = true;
            break;
        }
    }
}

void TelnetCodec::onCommand(unsigned char command, unsigned char option) {
    // Answer only what changes an option's state, so that two sides never loop on a request.
    const bool ourSide = command == Do || command == Dont;
    const bool enable = command == Do || command == Will;
    Side &side = ourSide ? m_us[option] : m_him[option];
    const unsigned char agree = ourSide ? Will : Do;
    const unsigned char refuse = ourSide ? Wont : Dont;
    if (enable) {
        if (side == Yes)
            return;
        if (side == WantYes) {
            side = Yes;
            return;
        }
        if (supported(option, ourSide)) {
            side = Yes;
            sendCommand(agree, option);
        } else {
            sendCommand(refuse, option);
        }
        return;
    }
    if (side == No)
        return;
    const bool wanted = side == WantYes;
    side = No;
    if (!wanted)
        sendCommand(refuse, option);
    if (ourSide && option == ComPort && !m_settled)
        m_comPortRefused = true;
}

void TelnetCodec::onSubnegotiation() {
    const QByteArray sub = std::exchange(m_sub, QByteArray());
    if (m_subTooLong || sub.size() < 2 || uchar(sub.at(0)) != ComPort || !m_settingsSent ||
        m_settled)
        return;
    const int command = uchar(sub.at(1)) - ServerReplyOffset;
    for (size_t i = 0; i < settings().size(); ++i) {
        const Setting &s = settings()[i];
        if (s.command != command)
            continue;
        quint32 value = 0;
        for (qsizetype k = 2; k < sub.size() && k < 2 + 4; ++k)
            value = (value << 8) | uchar(sub.at(k));
        m_answers[i] = value;
        // An answer of another width is no answer to what was asked, whatever its value.
        m_answerWidth[i] = int(sub.size()) - 2;
        return;
    }
}

int TelnetCodec::firstDifferent() const {
    for (int i = 0; i < SettingCount; ++i) {
        const auto &a = m_answers[size_t(i)];
        const Setting &s = settings()[size_t(i)];
        if (a && (*a != s.value || m_answerWidth[size_t(i)] != s.width))
            return i;
    }
    return -1;
}

int TelnetCodec::firstUnanswered() const {
    for (int i = 0; i < SettingCount; ++i) {
        if (!m_answers[size_t(i)])
            return i;
    }
    return -1;
}

QByteArray TelnetCodec::encode(const char *data, qsizetype size) const {
    QByteArray out;
    out.reserve(size + 8);
    for (qsizetype i = 0; i < size; ++i) {
        const char c = data[i];
        out += c;
        if (uchar(c) == Iac)
            out += c;
        // Outside binary mode a CR that is no line end goes as CR NUL.
        else if (c == '\r' && !binaryOut() && (i + 1 >= size || data[i + 1] != '\n'))
            out += '\0';
    }
    return out;
}
