#pragma once

#include <QByteArray>

#include <array>
#include <optional>

// Telnet framing with the COM-port option, apart from any socket: the server's bytes go in, the
// controller's bytes come out, with what has to go back to the server (option answers) and the
// state of the negotiation (binary mode, the COM-port option, the answers to the line settings
// asked). The controller's bytes to the server are framed by encode().
class TelnetCodec {
public:
    // Telnet commands and options in use, for the line and for tests that play the server.
    enum : unsigned char {
        Se = 240,
        Sb = 250,
        Will = 251,
        Wont = 252,
        Do = 253,
        Dont = 254,
        Iac = 255,
        Binary = 0,
        SuppressGoAhead = 3,
        ComPort = 44,
        SetBaudRate = 1,
        SetDataSize = 2,
        SetParity = 3,
        SetStopSize = 4,
        SetControl = 5,
        ServerReplyOffset = 100
    };

    // The line settings asked of the server: 9600 baud, 8 data bits, parity NONE (1), 1 stop bit
    // (1), no flow control (1).
    struct Setting {
        unsigned char command;
        quint32 value;
        int width;    // bytes on the wire
        int nameText; // the setting's name in the string table
    };
    static constexpr int SettingCount = 5;
    static const std::array<Setting, SettingCount> &settings();

    // The longest subnegotiation taken in; the COM-port answers are a few bytes. What goes past
    // it is dropped, and the subnegotiation is ignored when it ends.
    static constexpr qsizetype MaxSubnegotiation = 64;

    // Forgets everything negotiated: a new connection.
    void reset();

    // What opens the negotiation: binary both ways, the COM-port option on our side.
    QByteArray startNegotiation();
    // The five line settings, each in its own subnegotiation; their answers are awaited from now.
    QByteArray comPortSettings();

    // Takes bytes from the server; appends the controller's bytes to data. Answers to the
    // server's requests wait in outgoing().
    void decode(const char *bytes, qsizetype size, QByteArray &data);
    // What has to go to the server now; emptied by the call.
    QByteArray takeOutgoing();
    // The controller's bytes framed for the server: 0xFF doubled, a lone CR as CR NUL outside
    // binary mode.
    QByteArray encode(const char *data, qsizetype size) const;

    bool binaryIn() const { return m_him[Binary] == Yes; }
    bool binaryOut() const { return m_us[Binary] == Yes; }
    bool comPortAgreed() const { return m_us[ComPort] == Yes; }
    // The server declined the COM-port option while we asked for it.
    bool comPortRefused() const { return m_comPortRefused; }
    bool settingsSent() const { return m_settingsSent; }

    // The answers to the line settings: what each came back as (none yet: no value).
    const std::optional<quint32> &answer(int setting) const { return m_answers[size_t(setting)]; }
    // The bytes the answer's value came in (the setting's width when it came right).
    int answerWidth(int setting) const { return m_answerWidth[size_t(setting)]; }
    // The first setting whose answer differs from the value asked, else -1.
    int firstDifferent() const;
    // The first setting not answered yet, else -1.
    int firstUnanswered() const;
    // The server's notices after the line is set up are its own; they change nothing.
    void settleSettings() { m_settled = true; }

private:
    enum Side : unsigned char { No, WantYes, Yes };
    enum class Rx { Data, Iac, Option, Sub, SubIac };

    void onCommand(unsigned char command, unsigned char option);
    void onSubnegotiation();
    void sendCommand(unsigned char command, unsigned char option);

    Rx m_rx = Rx::Data;
    unsigned char m_rxCommand = 0;
    bool m_afterCr = false;
    QByteArray m_sub;
    bool m_subTooLong = false;
    QByteArray m_out;
    std::array<Side, 256> m_us{};  // options on our side (DO/DONT from the server)
    std::array<Side, 256> m_him{}; // options on the server's side (WILL/WONT)
    bool m_comPortRefused = false;
    bool m_settingsSent = false;
    bool m_settled = false;
    std::array<std::optional<quint32>, SettingCount> m_answers{};
    std::array<int, SettingCount> m_answerWidth{};
};
