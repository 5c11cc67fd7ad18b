#pragma once

#include <QString>

class QFile;

// Where the program may write a file of its own (a recording, a backup, a PDF).
namespace FileTarget {

// One of the names Windows keeps for its devices in every folder: CON, PRN, AUX, NUL, COM0 to
// COM9, LPT0 to LPT9 (and COM/LPT with a superscript 1 to 3), in any case, with or without an
// extension and blanks before it ("nul.txt", "COM1 .csv"). Only the last part of path counts.
bool isWindowsDeviceName(const QString &path);

// Whether path names a device wherever it is: on Windows a device name (see above), elsewhere
// never.
bool namesDevice(const QString &path);

// Nothing is there yet or a regular file is: a device, FIFO, folder or socket is no place for a
// file, nor on Windows a device name, which opens the device whatever folder it is in.
bool isWritableAsFile(const QString &path);

// Puts file, made and open for writing, in the place of the file old, which it replaces, and
// leaves it open there for writing at its end. False when that failed: file is closed then and
// keeps its own name.
bool putInPlace(QFile &file, const QString &old);

// Opens file (named, not yet open) for reading when it is a regular file; false, without waiting,
// for a FIFO, terminal or device (which could block in open() or never end), and when it cannot
// be opened; then the reason goes to why when given (the system's where it has one).
bool openRegular(QFile &file, QString *why = nullptr);

} // namespace FileTarget
