// qvsim: serves a simulated controller on a pty. The first line of standard output is the device
// path to give the program as its port; the tool runs until it is interrupted or the line drops.
#include "sim/ControllerSimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>
#include <QTimer>

#include <cstdio>

namespace {

struct Options {
    SimFault fault;
    bool anyFault = false;
};

bool parseFault(const QCommandLineParser &parser, Options &options, QString &error) {
    SimFault &f = options.fault;
    f.match = parser.value(QStringLiteral("only"));
    f.silent = parser.isSet(QStringLiteral("silent"));
    f.errorCode = parser.value(QStringLiteral("error"));
    f.prefix = parser.value(QStringLiteral("foreign-prefix"));
    f.trailing = parser.value(QStringLiteral("trailing")).toLatin1();
    bool ok = true;
    if (parser.isSet(QStringLiteral("wrong-length")))
        f.lengthDelta = parser.value(QStringLiteral("wrong-length")).toInt(&ok);
    if (!ok) {
        error = QStringLiteral("--wrong-length needs a whole number");
        return false;
    }
    if (parser.isSet(QStringLiteral("pieces")))
        f.pieces = parser.value(QStringLiteral("pieces")).toInt(&ok);
    if (!ok || f.pieces < 1) {
        error = QStringLiteral("--pieces needs a number of 1 or more");
        return false;
    }
    if (!f.errorCode.isEmpty() && f.errorCode.size() != 2) {
        error = QStringLiteral("--error needs two characters, such as 03");
        return false;
    }
    if (parser.isSet(QStringLiteral("overwrite"))) {
        const QString value = parser.value(QStringLiteral("overwrite"));
        const qsizetype colon = value.indexOf(u':');
        f.overwriteAt = colon > 0 ? value.left(colon).toInt(&ok) : -1;
        f.overwrite = value.mid(colon + 1).toLatin1();
        if (!ok || f.overwriteAt < 0 || f.overwrite.isEmpty()) {
            error = QStringLiteral("--overwrite needs an index and text, such as 3:04");
            return false;
        }
    }
    options.anyFault = f.silent || !f.errorCode.isEmpty() || !f.prefix.isEmpty() ||
                       !f.trailing.isEmpty() || f.lengthDelta != 0 || f.pieces > 1 ||
                       f.overwriteAt >= 0;
    return true;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qvsim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Serves a simulated QV feeder controller on a pseudo terminal.\n"
                       "Prints the device path on the first line, then each line received."));
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("silent"), QStringLiteral("Answer nothing.")},
        {QStringLiteral("error"), QStringLiteral("Answer the error reply 0%<code>."),
         QStringLiteral("code")},
        {QStringLiteral("wrong-length"),
         QStringLiteral("Add (or with a minus, take away) characters before the CR LF."),
         QStringLiteral("n")},
        {QStringLiteral("foreign-prefix"),
         QStringLiteral("Begin each answer with these three characters."), QStringLiteral("abc")},
        {QStringLiteral("overwrite"),
         QStringLiteral("Replace each answer's characters from index n (0: the first) by text."),
         QStringLiteral("n:text")},
        {QStringLiteral("pieces"), QStringLiteral("Send each answer in n pieces, 30 ms apart."),
         QStringLiteral("n")},
        {QStringLiteral("trailing"), QStringLiteral("Send these characters after each CR LF."),
         QStringLiteral("text")},
        {QStringLiteral("only"),
         QStringLiteral("Misbehave only on lines that begin with this text (e.g. 0RD02)."),
         QStringLiteral("text")},
        {QStringLiteral("unsolicited"), QStringLiteral("Send this text every 2 seconds, unasked."),
         QStringLiteral("text")},
        {QStringLiteral("paced"), QStringLiteral("Send at the speed of a 9600 baud line.")},
        {QStringLiteral("drop-after"),
         QStringLiteral("Drop the line on receiving the n-th line (as if unplugged)."),
         QStringLiteral("n")},
        {QStringLiteral("move-scale"),
         QStringLiteral("Multiply the time of every move by this factor (default 1)."),
         QStringLiteral("factor")},
        {QStringLiteral("move-time"),
         QStringLiteral("Let every move take this many ms, whatever its distance."),
         QStringLiteral("ms")},
        {QStringLiteral("jitter"),
         QStringLiteral("Vary each move's time by up to this many percent either way (0 to 50)."),
         QStringLiteral("percent")},
        {QStringLiteral("seed"),
         QStringLiteral(
             "Seed of the jitter's sequence: the same seed, the same times (default 1)."),
         QStringLiteral("n")},
        {QStringLiteral("controller-version"),
         QStringLiteral("Answer the version command with these three characters (default 140)."),
         QStringLiteral("abc")},
        {QStringLiteral("alarm"),
         QStringLiteral("Start with this alarm code (e.g. 0B): moves are refused with it until "
                        "the reset command."),
         QStringLiteral("code")},
        {QStringLiteral("quiet"), QStringLiteral("Print only the device path.")},
    });
    parser.process(app);

    Options options;
    QString error;
    if (!parseFault(parser, options, error)) {
        std::fprintf(stderr, "qvsim: %s\n", qPrintable(error));
        return 2;
    }

    ControllerSimulator sim;
    if (!sim.isOpen()) {
        std::fprintf(stderr, "qvsim: cannot open a pty: %s\n", qPrintable(sim.errorString()));
        return 1;
    }
    if (options.anyFault)
        sim.addFault(options.fault);
    sim.setPaced(parser.isSet(QStringLiteral("paced")));
    if (parser.isSet(QStringLiteral("drop-after")))
        sim.setDropAfter(parser.value(QStringLiteral("drop-after")).toInt());
    if (parser.isSet(QStringLiteral("controller-version")))
        sim.model().setVersion(parser.value(QStringLiteral("controller-version")));
    const QString alarm = parser.value(QStringLiteral("alarm"));
    if (!alarm.isEmpty() && alarm.size() != 2) {
        std::fprintf(stderr, "qvsim: --alarm needs two characters, such as 0B\n");
        return 2;
    }
    sim.model().setAlarm(alarm);
    if (parser.isSet(QStringLiteral("move-scale")))
        sim.model().setMoveTimeScale(parser.value(QStringLiteral("move-scale")).toDouble());

    if (parser.isSet(QStringLiteral("move-time")))
        sim.model().setMoveTime(parser.value(QStringLiteral("move-time")).toInt());
    if (parser.isSet(QStringLiteral("jitter"))) {
        const quint32 seed = parser.isSet(QStringLiteral("seed"))
                                 ? parser.value(QStringLiteral("seed")).toUInt()
                                 : 1;
        sim.model().setMoveJitter(parser.value(QStringLiteral("jitter")).toDouble() / 100, seed);
    }

    QTextStream out(stdout);
    out << sim.devicePath() << Qt::endl;
    if (!parser.isSet(QStringLiteral("quiet"))) {
        QObject::connect(&sim, &ControllerSimulator::lineReceived, &app,
                         [&out](const QString &line) { out << line << Qt::endl; });
    }

    QTimer unsolicited;
    const QByteArray noise = parser.value(QStringLiteral("unsolicited")).toLatin1();
    if (!noise.isEmpty()) {
        QObject::connect(&unsolicited, &QTimer::timeout, &sim,
                         [&sim, noise] { sim.sendUnsolicited(noise); });
        unsolicited.start(2000);
    }

    // Once the line is dead there is nothing left to serve.
    QObject::connect(&sim, &ControllerSimulator::lineDropped, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    return app.exec();
}
