#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

// What went over the serial line: the port opened and closed, every command line sent, every
// reply collected and how each exchange ended, with the time of day to the millisecond. The
// last Capacity events are kept as they came and made into text only when someone reads them,
// so keeping the log costs next to nothing while nobody looks.
class CommLog : public QObject {
    Q_OBJECT
public:
    static constexpr int Capacity = 5000;

    enum class Event { Opened, OpenFailed, Closed, Sent, Received, Discarded, Ended };

    explicit CommLog(QObject *parent = nullptr);

    void add(Event event, const QByteArray &bytes, const QString &note = QString());

    // Every kept event as a text line, oldest first.
    QStringList lines() const;
    void clear();
    // Writes the kept lines to a UTF-8 text file with CR LF line ends; false when it cannot.
    bool saveTo(const QString &path) const;

    // Called with each new line as it is made (the terminal's trace), in the adding thread.
    void setListener(std::function<void(const QString &)> listener) {
        m_listener = std::move(listener);
    }

signals:
    // A new line, for an open log window; only made into text while something is connected.
    void lineAdded(const QString &line);
    void cleared();

private:
    struct Entry {
        qint64 msecs = 0;
        Event event = Event::Sent;
        QByteArray bytes;
        QString note;
    };
    static QString format(const Entry &entry);

    QList<Entry> m_entries;
    qsizetype m_first = 0; // the oldest entry once the ring is full
    std::function<void(const QString &)> m_listener;
};
