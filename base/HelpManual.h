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

} // namespace HelpManual
