// HTML Help: the HtmlHelpW call of hhctrl.ocx, loaded when help is first asked for, shows a
// compiled help file's default topic in a help window owned by the program's window.
#include "base/NativeHelp.h"

#include <QDir>

#include <windows.h>

#include <htmlhelp.h>

namespace {

using HtmlHelpCall = HWND(WINAPI *)(HWND, LPCWSTR, UINT, DWORD_PTR);

// The call, or null where the system has no HTML Help; looked up once.
HtmlHelpCall htmlHelp() {
    static const HtmlHelpCall call = [] {
        const HMODULE library = LoadLibraryW(L"hhctrl.ocx");
        return library ? reinterpret_cast<HtmlHelpCall>(
                             reinterpret_cast<void *>(GetProcAddress(library, "HtmlHelpW")))
                       : HtmlHelpCall(nullptr);
    }();
    return call;
}

bool opened = false;

} // namespace

bool NativeHelp::systemHasOne() {
    return true;
}

bool NativeHelp::show(const QString &helpFile, quintptr owner) {
    const HtmlHelpCall call = htmlHelp();
    if (!call)
        return false;
    const QString path = QDir::toNativeSeparators(helpFile);
    const HWND window = call(reinterpret_cast<HWND>(owner), reinterpret_cast<LPCWSTR>(path.utf16()),
                             HH_DISPLAY_TOPIC, 0);
    opened = opened || window != nullptr;
    return window != nullptr;
}

void NativeHelp::closeAll() {
    if (opened && htmlHelp())
        htmlHelp()(nullptr, nullptr, HH_CLOSE_ALL, 0);
    opened = false;
}
