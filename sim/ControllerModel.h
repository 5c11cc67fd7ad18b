#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QMap>
#include <QRandomGenerator>
#include <QString>
#include <algorithm>
#include <functional>

// What the simulated controller does with one command line: its data blocks, the position of the
// feeder, its outputs and inputs. Knows nothing of the serial line; the simulator feeds it lines
// and sends its answers.
class ControllerModel {
public:
    struct Answer {
        QByteArray reply; // CR LF included; empty: no reply
        int delayMs = 0;  // time the controller needs before it answers (a move)
    };

    ControllerModel();

    Answer process(const QString &line);

    // The blocks in effect ("00" -> 16 hexadecimal characters) and those written but not yet
    // taken into effect by a restart.
    QString block(const QString &number) const { return m_blocks.value(number); }
    QString pendingBlock(const QString &number) const { return m_pending.value(number); }
    void setBlock(const QString &number, const QString &content) { m_blocks[number] = content; }

    int restarts() const { return m_restarts; }
    qint32 position() const { return m_position; }
    QString version() const { return m_version; }
    void setVersion(const QString &threeCharacters) { m_version = threeCharacters; }

    // An alarm the controller holds (an error code such as "0B"): every move is refused with it
    // until the reset command clears it. Empty: no alarm.
    QString alarm() const { return m_alarm; }
    void setAlarm(const QString &code) { m_alarm = code; }

    // Move time per pulse scaled (1.0: as the controller; tests may speed moves up).
    void setMoveTimeScale(double scale) { m_moveScale = scale; }
    // Every move takes this long, whatever its distance, speed and scale (0: they decide).
    void setMoveTime(int ms) { m_moveTime = std::max(ms, 0); }
    // Each move's time varies by up to this share either way (0.05: 5 %), drawn from a sequence
    // that the seed fixes, so that a run with the same seed takes the same times. 0: none.
    void setMoveJitter(double share, quint32 seed) {
        m_jitter = std::clamp(share, 0.0, 0.5);
        m_random.seed(seed);
    }
    // Milliseconds since the feeder started running; the inputs follow it.
    void setClock(std::function<qint64()> msSinceStart) { m_clock = std::move(msSinceStart); }

    // The three port bytes of the I/O block at a given time of the running feeder.
    struct Ports {
        int a = 0, b = 0, c = 0;
    };
    Ports ports(qint64 ms) const;
    // Holds the I/O block at these port bytes instead of a running feeder: the input bits stay
    // as given, the output bits become the outputs' state, which "0WS" changes from then on.
    void holdPorts(const Ports &ports);

    // How long a move over this many pulses takes at this velocity step, in ms.
    static int moveDuration(qint32 pulses, int velocity);

private:
    Answer readBlock(const QString &data) const;
    Answer writeBlock(const QString &data);
    Answer move(const QString &data);
    Answer writeOutputs(const QString &data);
    int fieldOf(const QString &block, int first, int width) const;

    QMap<QString, QString> m_blocks;
    QMap<QString, QString> m_pending;
    int m_restarts = 0;
    qint32 m_position = 0;
    int m_outputMask = 0;
    bool m_holding = false;
    Ports m_held;
    QString m_version = QStringLiteral("140");
    QString m_alarm;
    double m_moveScale = 1.0;
    int m_moveTime = 0;
    double m_jitter = 0;
    QRandomGenerator m_random;
    QElapsedTimer m_running;
    std::function<qint64()> m_clock;
};
