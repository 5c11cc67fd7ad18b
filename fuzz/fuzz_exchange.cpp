// Feeds arbitrary replies to the command exchange over a pty. A stand-in controller on the master
// end answers the command with the input's first piece and the recovery's "0CM0" with its second;
// the link judges them as it judges a controller's. The outcome must be the one the reply's
// beginning and length call for, with its message, alarm display and error text; the lines sent
// must be the command and, after a reply that is not good, the recovery alone. A nested exchange
// is refused and sends nothing. The version read must show the three characters after "0RV".
//
// Input: byte 0 picks the exchange (low four bits) and whether a CR LF ends each piece (mostly:
// a wait that runs out costs the most), byte 1 the first piece's length, the rest the pieces.

#include "base/ResText.h"
#include "base/StoredSettings.h"
#include "data/ExchangeMessage.h"
#include "fuzz/FuzzSupport.h"
#include "link/ControllerLink.h"
#include "ops/ControllerModes.h"
#include "tests/support/StandInScreen.h"

#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QTimer>
#include <fcntl.h>
#include <functional>
#include <iterator>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// One exchange of the program as the scope makes it: its line, the reply length and start it
// wants, the call (the reply it brought, when it brings one).
struct Command {
    const char *line;
    qint16 replyLength;
    const char *replyStart; // empty: the line's first three characters
    std::function<Valued<QString>(ControllerScope &)> call;
};

Valued<QString> noValue(const OpResult &result) {
    return {result, {}};
}

// The exchanges of the program: check, block read, block write, reset, I/O read; the last row is
// the version read through ControllerModes.
const Command Commands[] = {
    {"0CM1", 6, "", [](ControllerScope &c) { return noValue(c.checkCommunication()); }},
    {"0RD10", 23, "0RD10", [](ControllerScope &c) { return c.readBlock(QStringLiteral("10")); }},
    {"0WD100011223344556677", 23, "0WD100011223344556677",
     [](ControllerScope &c) {
         return noValue(c.writeBlock(QStringLiteral("100011223344556677")));
     }},
    {"0%C", 7, "", [](ControllerScope &c) { return noValue(c.reset()); }},
    {"0RD20", 23, "", [](ControllerScope &c) { return c.readIo(); }},
    {"0RV", 11, "", nullptr},
};
constexpr size_t VersionRow = 5;
// The wait for a piece without a line end is cut to this once the piece has arrived.
constexpr int CutTimeoutMs = 2;
constexpr qsizetype MaxPiece = 256;

const QByteArray CrLf("\r\n");

// A pty whose master end answers each line with the next piece. The slave end is held open (and
// made raw) so that the pty lives while the link has its port closed, and so that the harness
// can see when a piece has arrived.
class StandInController {
public:
    explicit StandInController(ControllerLink &link) : m_link(link) {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        fuzz::require(m_master >= 0 && ::grantpt(m_master) == 0 && ::unlockpt(m_master) == 0);
        m_path = QString::fromLocal8Bit(::ptsname(m_master));
        m_slave = ::open(::ptsname(m_master), O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios tio{};
        fuzz::require(m_slave >= 0 && ::tcgetattr(m_slave, &tio) == 0);
        ::cfmakeraw(&tio);
        ::tcsetattr(m_slave, TCSANOW, &tio);
        m_notifier = new QSocketNotifier(qintptr(m_master), QSocketNotifier::Read);
        QObject::connect(m_notifier, &QSocketNotifier::activated, [this] { onReadable(); });
    }
    ~StandInController() {
        delete m_notifier;
        ::close(m_slave);
        ::close(m_master);
    }
    StandInController(const StandInController &) = delete;
    StandInController &operator=(const StandInController &) = delete;

    QString path() const { return m_path; }
    // The answers of the next run; the check "0CM1" answered first with its echo when asked.
    void expect(const QList<QByteArray> &pieces, bool answerCheck) {
        m_pieces = pieces;
        m_answerCheck = answerCheck;
        lines.clear();
        nestedRefused = true;
    }
    QStringList lines; // every line the link sent, without CR LF
    bool nestedRefused = true;

private:
    void onReadable() {
        char chunk[256];
        ssize_t n;
        while ((n = ::read(m_master, chunk, sizeof chunk)) > 0)
            m_input.append(chunk, qsizetype(n));
        qsizetype end;
        while ((end = m_input.indexOf(CrLf)) >= 0) {
            const QString line = QString::fromLatin1(m_input.left(end));
            m_input.remove(0, end + 2);
            lines.append(line);
            if (m_answerCheck && line == QLatin1String("0CM1")) {
                m_answerCheck = false;
                send("0CM1\r\n");
            } else {
                refuseNested();
                send(m_pieces.isEmpty() ? QByteArray() : m_pieces.takeFirst());
            }
        }
    }

    // While the link waits, another exchange must be refused without a line sent.
    void refuseNested() {
        const qsizetype sent = lines.size();
        const ControllerScope nested = m_link.controller();
        char probe;
        nestedRefused = nestedRefused && nested.refusal().status == OpResult::Status::Busy &&
                        lines.size() == sent && ::read(m_master, &probe, 1) < 0;
    }

    // The piece is written whole and waited for until the line holds it, so that the link reads
    // it in one go; a piece without a line end then has its wait cut short.
    void send(const QByteArray &piece) {
        fuzz::require(::write(m_master, piece.constData(), size_t(piece.size())) == piece.size());
        QElapsedTimer waited;
        waited.start();
        int queued = 0;
        while (::ioctl(m_slave, FIONREAD, &queued) == 0 && queued < piece.size() &&
               waited.elapsed() < 1000)
            ;
        fuzz::require(queued >= piece.size());
        if (!piece.endsWith(CrLf))
            m_link.findChild<QTimer *>(QStringLiteral("timerTimeout"))->start(CutTimeoutMs);
    }

    ControllerLink &m_link;
    QList<QByteArray> m_pieces;
    bool m_answerCheck = false;
    int m_master = -1;
    int m_slave = -1;
    QString m_path;
    QByteArray m_input;
    QSocketNotifier *m_notifier = nullptr;
};

QString inBrackets(const QString &text) {
    return ResText(215) + QStringLiteral("\r\n[") + text + QLatin1Char(']');
}

// The error text of a reply, from its first five characters alone.
void checkErrorText(const QString &reply) {
    const QString text = ControllerLink::errorTextFor(reply);
    const QString head = reply.left(5);
    bool ok = false;
    const int code = head.mid(3).toInt(&ok, 16);
    const bool known = head.startsWith(QLatin1String("0%%0")) && ok && code <= 11 &&
                       head.at(4) == QLatin1String("0123456789AB").at(code);
    fuzz::require(known ? text == ResText(260 + code) && !text.isEmpty() : text.isEmpty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz::ensureApplication();
    if (size < 2)
        return 0;
    const size_t row = (data[0] & 0x0F) % std::size(Commands);
    const Command &c = Commands[row];
    const QByteArray rest = fuzz::bytes(data + 2, size - 2);
    QByteArray first = rest.left(qMin(qsizetype(data[1]), MaxPiece));
    QByteArray second = rest.mid(first.size(), MaxPiece);
    if ((data[0] & 0x30) != 0x30)
        first += CrLf;
    if ((data[0] & 0xC0) != 0xC0)
        second += CrLf;
    checkErrorText(QString::fromLatin1(first));

    // One link and one pty for the whole run, as a program keeps its port: opening a port
    // writes a lock file, which would take most of the time. Each run starts with the alarm
    // display cleared and no message shown.
    static StoredSettings settings;
    static fuzz::RecordingPrompt prompt;
    static ControllerLink link(settings);
    static StandInController controller(link);
    settings.PortNo = 1;
    settings.OccupyPort = true;
    link.setDeviceOverride(controller.path());
    link.clearAlarm();
    prompt.shown.clear();
    const bool version = row == VersionRow;
    controller.expect({first, second}, version);

    const QString line = QLatin1String(c.line);
    const QString expected = *c.replyStart ? QString::fromLatin1(c.replyStart) : line.left(3);
    Valued<QString> result;
    if (version) {
        StandInScreen screen;
        ControllerModes modes(link, prompt, screen);
        result = modes.ViewCtVersion();
        fuzz::require(!prompt.shown.isEmpty());
        fuzz::require(screen.calls ==
                      QStringList({"CMDBTN_Muko", "Menyu_Muko", "CMDBTN_Yuko", "Menyu_Yuko"}));
        // The check went first and was answered; what follows is the version read's own.
        fuzz::require(controller.lines.value(0) == QLatin1String("0CM1"));
        controller.lines.removeFirst();
        const QString last = prompt.shown.takeLast();
        if (result.isDone()) {
            fuzz::require(result.value == QString::fromLatin1(first.mid(3, 3)) &&
                          result.value.size() == 3 &&
                          last == ResText(232) + result.value + ResText(233));
        } else {
            fuzz::require(last == ResText(231) && result.value.isEmpty());
        }
    } else {
        ControllerScope scope = link.controller(ControllerLink::Opening::PortOnly);
        fuzz::require(scope.isHeld());
        result = c.call(scope);
        presentExchange(prompt, scope, result.result);
    }
    fuzz::require(controller.nestedRefused);

    // What the pieces call for: no line end, a wait that runs out; "0%%" an error reply; the
    // expected start and length a good reply; anything else the recovery, whose answer is judged
    // by its beginning alone. A piece longer than its command's reply can be is of the wrong
    // length at once, line end or not, and is taken no further than one character past it.
    const QString reply = QString::fromLatin1(first);
    const bool tooLong = first.size() > replyLimitFor(c.replyLength);
    const bool recovery =
        tooLong || (first.endsWith(CrLf) && !first.startsWith("0%%") &&
                    (!reply.startsWith(expected) || reply.size() != c.replyLength));
    const QByteArray recoveryReply =
        second.left(commandForm(ControllerCommand::ExternalStart).replyLimit() + 1);
    const QString errorReply = !tooLong && first.endsWith(CrLf) && first.startsWith("0%%") ? reply
                               : recovery && second.startsWith("0%%")
                                   ? QString::fromLatin1(recoveryReply)
                                   : QString();
    using F = OpResult::Failure;
    const F wanted = !first.endsWith(CrLf) && !tooLong ? F::Timeout
                     : !errorReply.isEmpty()           ? F::ErrorReply
                     : recovery                        ? F::Malformed
                                                       : F::None;
    fuzz::require(result.result.failure == wanted);
    fuzz::require(controller.lines ==
                  (recovery ? QStringList{line, QStringLiteral("0CM0")} : QStringList{line}));

    const bool good = wanted == F::None;
    fuzz::require(result.isDone() == good && result.result.isFailed() == !good);
    // The calls that bring the reply line bring it whole, CR LF included.
    if (good && (row == 1 || row == 4))
        fuzz::require(result.value == reply);
    fuzz::require(prompt.shown.size() == (good ? 0 : 1));
    fuzz::require(link.alarmLampShown() == (wanted == F::ErrorReply));
    if (wanted == F::ErrorReply) {
        const QString text = ControllerLink::errorTextFor(errorReply);
        fuzz::require(link.alarmCode() == errorReply.mid(3, 2) && link.alarmComment() == text);
        if (!version)
            fuzz::require(result.result.errorCode == errorReply.mid(3, 2) &&
                          result.result.alarmText == text &&
                          result.result.text == inBrackets(text) &&
                          prompt.shown.first() == inBrackets(text));
    } else if (wanted == F::Timeout) {
        fuzz::require(!link.isPortOpen());
    } else if (wanted == F::Malformed && !version) {
        const QString message = tooLong || reply.startsWith(expected)
                                    ? ResText(1105) + QStringLiteral("\r\n") + ResText(1106)
                                    : ResText(1107) + QStringLiteral("\r\n") + ResText(1108);
        fuzz::require(result.result.text == message && prompt.shown.first() == message);
    }
    return 0;
}
