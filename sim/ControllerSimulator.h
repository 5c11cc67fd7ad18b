#pragma once

#include "sim/ControllerModel.h"
#include "sim/SimFault.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>

// A controller on a pseudo terminal. It opens the pty pair itself and serves the master end in
// the calling thread; the program opens the slave end (devicePath()) like any serial port. Every
// line received is recorded; faults make it misbehave on purpose.
class ControllerSimulator : public QObject {
    Q_OBJECT
public:
    explicit ControllerSimulator(QObject *parent = nullptr);
    ~ControllerSimulator() override;

    bool isOpen() const { return m_open; }
    QString devicePath() const { return m_path; }
    QString errorString() const { return m_error; }

    // The lines received, without CR LF, in order: the latest recordLimit() of them, so that a
    // simulator serving a long demo (the I/O monitor polls five times a second) does not grow
    // without end.
    QStringList receivedLines() const { return m_lines; }
    void clearReceived() { m_lines.clear(); }
    static constexpr int DefaultRecordLimit = 10000;
    int recordLimit() const { return m_recordLimit; }
    void setRecordLimit(int lines);

    void addFault(const SimFault &fault) { m_faults.append(fault); }
    void clearFaults() { m_faults.clear(); }

    // Sends at 9600 baud (10 bits per character) and takes the line's time on the wire into
    // account before answering; otherwise everything goes at once.
    void setPaced(bool paced) { m_paced = paced; }
    static constexpr qint64 CharacterNs = 10 * 1000000000LL / 9600;

    // Characters that nobody asked for, sent now.
    void sendUnsolicited(const QByteArray &text);
    // The line goes dead: the master end closes and the slave end hangs up.
    void dropLine();
    // The line goes dead on receiving this many lines (counted from the start, whatever the
    // record keeps), instead of answering the last (0: never).
    void setDropAfter(int lines) { m_dropAfter = lines; }

    ControllerModel &model() { return m_model; }

signals:
    void lineReceived(const QString &line);
    // The line went dead (dropLine(), a fault, or the pty failed).
    void lineDropped();

private:
    struct Chunk {
        QByteArray bytes;
        qint64 dueNs = 0;
    };

    // The line's end of the platform (ControllerSimulatorPty.cpp, ControllerSimulatorTcp.cpp):
    // opened once, closed by dropLine(); what arrives goes to takeInput().
    bool openEnd();
    void closeEnd();
    void writeOut(const QByteArray &bytes);
    void takeInput(const char *bytes, qint64 n);
    void handleLine(const QString &line, qint64 arrivedNs);
    void queue(const QByteArray &bytes, qint64 notBeforeNs);
    void pump();
    SimFault *faultFor(const QString &line);

    struct End;
    End *m_end = nullptr; // made by openEnd(), deleted by closeEnd()
    bool m_open = false;
    QString m_path;
    QString m_error;
    QByteArray m_input;
    qint64 m_rxClockNs = 0;
    QStringList m_lines;
    int m_recordLimit = DefaultRecordLimit;
    int m_lineCount = 0; // every line received, for setDropAfter
    QList<SimFault> m_faults;
    bool m_paced = false;
    int m_dropAfter = 0;
    QList<Chunk> m_out;
    qint64 m_lastDueNs = 0;
    QTimer m_sendTimer;
    QElapsedTimer m_clock;
    ControllerModel m_model;
};
