#include "base/SystemInfoProgram.h"

#include <QFileInfo>
#include <QList>
#include <QProcess>

#include <windows.h>

namespace {

// A text value under HKEY_LOCAL_MACHINE, with the variables of an expandable one (REG_EXPAND_SZ,
// "%SystemRoot%\...") filled in; empty when there is none.
QString machineText(const wchar_t *key, const wchar_t *name) {
    DWORD size = 0;
    LONG status =
        RegGetValueW(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_SZ, nullptr, nullptr, &size);
    // Expanding may need more room than the stored text: asked again until it fits.
    for (int tries = 0; tries < 4 && (status == ERROR_SUCCESS || status == ERROR_MORE_DATA);
         ++tries) {
        QList<wchar_t> text(qsizetype(size / sizeof(wchar_t)) + 1, 0);
        DWORD room = DWORD(text.size() * sizeof(wchar_t));
        status =
            RegGetValueW(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_SZ, nullptr, text.data(), &room);
        if (status == ERROR_SUCCESS)
            return QString::fromWCharArray(text.constData());
        size = room;
    }
    return {};
}

} // namespace

bool SystemInfoProgram::systemHasOne() {
    return true;
}

QString SystemInfoProgram::path() {
    const QString named = machineText(L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", L"PATH");
    if (!named.isEmpty())
        return named;
    const QString folder = machineText(L"SOFTWARE\\Microsoft\\Shared Tools Location", L"MSINFO");
    if (folder.isEmpty())
        return {};
    const QString program = folder + QStringLiteral("\\MSINFO32.EXE");
    return QFileInfo(program).isFile() ? program : QString();
}

bool SystemInfoProgram::start() {
    const QString program = path();
    return !program.isEmpty() && QProcess::startDetached(program, {});
}
