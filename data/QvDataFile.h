#pragma once

#include "base/OpResult.h"
#include "data/QvData.h"

#include <QByteArray>
#include <QString>

class MainScreen;
class QIODevice;
class UserPrompt;

// The QV data file: eight lines of ASCII text ended by CR LF, the marker "QV-R7" and 30 decimal
// numbers (position 1, position 1 again without its pulses, position 2, position 2 again, the
// homing parameters, then two lines of sensor parameters).
namespace QvDataFile {

inline constexpr char Marker[] = "QV-R7";

// The whole file for a data set.
QByteArray format(const QvData &data);

enum class ReadOutcome { Read, NotQvFile, Broken };

// Reads a file from its first byte into data: the marker as the first field, then 30 fields
// separated by commas or line ends. Items are stored one by one as they are converted, so a
// broken file leaves the items before the fault changed.
// A broken file's fault in words (which value is missing or wrong) goes to why when given.
ReadOutcome read(QIODevice &file, QvData &data, QString *why = nullptr);

// Writes the file for data so that a failed write leaves an existing file as it was. Returns
// false when the file could not be written or the path is a FIFO, terminal or device; then the
// system's reason goes to why when given.
bool write(const QString &path, const QvData &data, QString *why = nullptr);

// The details of a file error: the file's full path and, when known, the reason.
QString errorDetails(const QString &path, const QString &why);

} // namespace QvDataFile

// Reads the file at path into the read copy and clears DataChanged. Done when read; otherwise a
// file error with the message shown (277/278 for a file without the marker, 279/280 for any other
// fault).
OpResult ReadQvFile(const QString &path, QvData &read, MainScreen &screen, UserPrompt &prompt);
