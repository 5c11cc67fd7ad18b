#pragma once

#include <QString>
#include <QStringList>

// Where the user manual lies and in which forms: the compiled help file of the program's
// language (QVPChelp.chm in Japanese, QVPChelp-en.chm in English) and the same pages as HTML
// (help/ja/index.html, help/en/index.html). The build puts them beside the program; an install
// puts them in share/qvpc-software, beside bin/.
namespace HelpManual {

inline constexpr const char *FileName = "QVPChelp.chm";
inline constexpr const char *EnglishFileName = "QVPChelp-en.chm";

// The folders looked in, the program's own first.
QStringList folders(const QString &programFolder);

// The help file of the language in the first folder that has it; English falls back to the
// Japanese file where there is no English one. Empty when there is none.
QString helpFile(const QStringList &folders, bool english);

// The first page of the HTML manual of the language, or empty.
QString htmlPage(const QStringList &folders, bool english);

// Whether the desktop names a program for the file's type (xdg-mime query default); false
// where it cannot say.
bool desktopHasViewer(const QString &path);

// How long the desktop's opener may run before the file counts as shown: an opener that starts
// the viewer in the foreground runs until the viewer closes.
inline constexpr int OpenerGraceMs = 3000;

// Hands the file to the desktop's opener (xdg-open) and waits until it ends or has run for
// OpenerGraceMs. False when it could not start or ended with a failure, as it does when
// nothing on the desktop can open the file; an opener still running is left to run.
bool openWithDesktop(const QString &path);

} // namespace HelpManual
