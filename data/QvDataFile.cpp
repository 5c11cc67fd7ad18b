#include "data/QvDataFile.h"

#include "base/FileTarget.h"
#include "base/MainScreen.h"
#include "base/MessageLines.h"
#include "base/ResText.h"
#include "base/UserPrompt.h"
#include "base/VbNumber.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cmath>
#include <limits>
#include <optional>

namespace QvDataFile {

namespace {

const QByteArray LineEnd = QByteArrayLiteral("\r\n");

QByteArray line(std::initializer_list<qint32> values) {
    QByteArrayList fields;
    for (qint32 v : values)
        fields.append(QByteArray::number(v));
    return fields.join(',') + LineEnd;
}

// Reads the comma-separated fields of a file one by one. A field ends at a comma or a line end
// (CR LF, CR or LF); leading blanks are skipped and a field in double quotes loses its quotes.
class FieldReader {
public:
    explicit FieldReader(QIODevice &file) : m_file(file) {}

    // No field of a data file comes near this length. Input that runs on without a separator (a
    // device or a large foreign file chosen by mistake) ends the read here instead of filling
    // memory or never ending.
    static constexpr qint64 MaxFieldLength = 64 * 1024;

    // The next field; none when the file has ended before it, cannot be read or runs on beyond
    // any field's length.
    std::optional<QString> next() {
        m_taken = 0;
        std::optional<QString> field = take();
        if (m_taken > MaxFieldLength)
            return std::nullopt;
        return field;
    }

private:
    static bool isSeparator(char c) { return c == ',' || c == '\r' || c == '\n'; }

    bool get(char *c) { return ++m_taken <= MaxFieldLength && m_file.getChar(c); }

    std::optional<QString> take() {
        char c = 0;
        if (!get(&c))
            return std::nullopt;
        while (c == ' ') {
            if (!get(&c))
                return QString();
        }
        QByteArray text;
        if (c == '"') {
            while (get(&c) && c != '"')
                text.append(c);
            // Whatever follows the closing quote up to the separator is not part of the field.
            while (get(&c) && !isSeparator(c)) {
            }
        } else {
            while (!isSeparator(c)) {
                text.append(c);
                if (!get(&c))
                    return QString::fromLatin1(text);
            }
        }
        if (c == '\r') { // CR LF is one line end
            char lf = 0;
            if (m_file.peek(&lf, 1) == 1 && lf == '\n')
                m_file.getChar(&lf);
        }
        return QString::fromLatin1(text);
    }

    QIODevice &m_file;
    qint64 m_taken = 0;
};

// A 16-bit item: the leading number of the field, rounded half to even.
std::optional<qint16> shortItem(const QString &field) {
    const double v = VbNumber::roundHalfEven(VbNumber::leadingValue(field));
    if (!(v >= std::numeric_limits<qint16>::min() && v <= std::numeric_limits<qint16>::max()))
        return std::nullopt;
    return qint16(v);
}

// A 32-bit item: the whole field as a number, rounded half to even; an empty field is 0.
std::optional<qint32> longItem(const QString &field) {
    if (field.isEmpty())
        return 0;
    return VbNumber::toInt32(field);
}

} // namespace

QByteArray format(const QvData &d) {
    return QByteArray(Marker) + LineEnd + line({d.Vel1, d.Acc1, d.Dec1, d.Pulse1, d.PauseTime1}) +
           line({d.Vel1, d.Acc1, d.Dec1, d.PauseTime1}) +
           line({d.Vel2, d.Acc2, d.Dec2, d.Pulse2, d.PauseTime2}) +
           line({d.Vel2, d.Acc2, d.Dec2, d.PauseTime2}) +
           line({d.HomingVel, d.HomingPulse, d.OffsetVel, d.OffsetPulse}) +
           line({d.SupplyCounter, d.NoWorkCounter, d.RestartDelay, d.RevDir}) +
           line({d.SeparateTimer, d.MidDetectCounter, d.TipWorkOffTimer, d.Sp1});
}

ReadOutcome read(QIODevice &file, QvData &d, QString *why) {
    FieldReader reader(file);
    const auto marker = reader.next();
    if (!marker || *marker != QLatin1String(Marker))
        return ReadOutcome::NotQvFile;

    QStringList fields;
    for (int i = 0; i < 30; ++i) {
        auto field = reader.next();
        if (!field) {
            if (why)
                *why = ResText(1646).arg(i + 1);
            return ReadOutcome::Broken;
        }
        fields.append(*field);
    }

    // Fields in file order; lines 3 and 5 (fields 5 to 8 and 14 to 17) are read and dropped.
    int at = 0;
    const auto take16 = [&](qint16 &item) {
        const auto v = shortItem(fields[at++]);
        if (v)
            item = *v;
        return v.has_value();
    };
    const auto take32 = [&](qint32 &item) {
        const auto v = longItem(fields[at++]);
        if (v)
            item = *v;
        return v.has_value();
    };
    const auto skip = [&](int count) {
        at += count;
        return true;
    };
    const bool ok = take16(d.Vel1) && take16(d.Acc1) && take16(d.Dec1) && take32(d.Pulse1) &&
                    take16(d.PauseTime1) && skip(4) && take16(d.Vel2) && take16(d.Acc2) &&
                    take16(d.Dec2) && take32(d.Pulse2) && take16(d.PauseTime2) && skip(4) &&
                    take16(d.HomingVel) && take32(d.HomingPulse) && take16(d.OffsetVel) &&
                    take32(d.OffsetPulse) && take16(d.SupplyCounter) && take16(d.NoWorkCounter) &&
                    take16(d.RestartDelay) && take16(d.RevDir) && take16(d.SeparateTimer) &&
                    take16(d.MidDetectCounter) && take16(d.TipWorkOffTimer) && take16(d.Sp1);
    if (!ok && why) // the value that failed is the last one taken
        *why = ResText(1647).arg(at).arg(fields.value(at - 1).left(40));
    return ok ? ReadOutcome::Read : ReadOutcome::Broken;
}

bool write(const QString &path, const QvData &data, QString *why) {
    const QByteArray bytes = format(data);
    // A FIFO, terminal or device chosen by mistake is no data file: opening it may wait for ever
    // (a FIFO nobody reads) and it could not be replaced safely anyway.
    if (!FileTarget::isWritableAsFile(path)) {
        if (why)
            *why = ResText(1645);
        return false;
    }
    QSaveFile file(path);
    // Flush before committing: a short write at the final flush (disk full) would otherwise go
    // unnoticed and the truncated file would replace the old one. An uncommitted file is dropped.
    const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
                         file.flush() && file.commit();
    if (!written && why)
        *why = file.errorString();
    return written;
}

QString errorDetails(const QString &path, const QString &why) {
    QStringList lines{
        ResText(1643).arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()))};
    if (!why.isEmpty())
        lines.append(ResText(1644).arg(why));
    return joinLines(lines);
}

} // namespace QvDataFile

OpResult ReadQvFile(const QString &path, QvData &read, MainScreen &screen, UserPrompt &prompt) {
    QFile file(path);
    QvDataFile::ReadOutcome outcome = QvDataFile::ReadOutcome::Broken;
    QString why;
    if (FileTarget::openRegular(file, &why))
        outcome = QvDataFile::read(file, read, &why);
    file.close();

    QString message;
    switch (outcome) {
    case QvDataFile::ReadOutcome::Read:
        screen.setDataChanged(false);
        return OpResult::done();
    case QvDataFile::ReadOutcome::NotQvFile:
        message = joinLines({ResText(277), ResText(278)});
        break;
    case QvDataFile::ReadOutcome::Broken:
        message = joinLines({ResText(279), ResText(280)});
        break;
    }
    prompt.MsgBoxDetailed(message, QvDataFile::errorDetails(path, why));
    return OpResult::failed(OpResult::Failure::FileError, message);
}
