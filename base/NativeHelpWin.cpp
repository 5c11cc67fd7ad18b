// HTML Help: hh.exe in the Windows folder shows a compiled help file's default topic, as
// HtmlHelp's "display topic" command does.
#include "base/NativeHelp.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <windows.h>

bool NativeHelp::show(const QString &helpFile) {
    wchar_t folder[MAX_PATH];
    const UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    const QString viewer =
        QString::fromWCharArray(folder, int(length)) + QStringLiteral("\\hh.exe");
    if (!QFileInfo(viewer).isFile())
        return false;
    return QProcess::startDetached(viewer, {QDir::toNativeSeparators(helpFile)});
}
