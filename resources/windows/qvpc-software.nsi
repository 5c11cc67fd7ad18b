; The Windows installer of QV PC-Software (64-bit NSIS). makensis is given
;   -DVERSION=1.4.0 -DSOURCE=<deployed folder> -DOUTFILE=<installer> -DFILELIST=<file>
;   -DSIZEKB=<installed size in KiB>
; where FILELIST holds the uninstaller's Delete and RMDir lines for each file and folder of the
; deployed folder: the uninstaller removes what was installed and nothing else, whatever folder
; was chosen. Installing over an earlier version runs that version's uninstaller first, so its
; files go by its own list; the user's settings (registry) and journal (application data) are in
; no list and stay.
; The program goes to Program Files with its Qt libraries, plugins and help files, gets a Start
; menu entry and an uninstaller, and appears under Apps & features. The Japanese fonts are the
; system's own. Neither installing nor uninstalling goes on while the program runs.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "x64.nsh"

!define APPNAME "QV PC-Software"
!define UNINSTKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QVPC-Software"

Name "${APPNAME}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${APPNAME}"
InstallDirRegKey HKLM "${UNINSTKEY}" "InstallLocation"
RequestExecutionLevel admin
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${APPNAME}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${APPNAME} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The first language is the one for every system language not listed: English.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

LangString Running ${LANG_ENGLISH} "QV PC-Software is running. Close it, then press Retry."
LangString Running ${LANG_JAPANESE} "QV PC-Software が実行中です。終了してから［再試行］を押してください。"

; Waits until the program in folder $0 is not running: a running program's file cannot be
; opened for writing. Cancel (and a silent run) ends the installer or uninstaller.
!macro WAIT_UNTIL_CLOSED un
Function ${un}waitUntilClosed
    IfFileExists "$0\qvpc.exe" 0 done
    check:
        ClearErrors
        FileOpen $1 "$0\qvpc.exe" a
        IfErrors 0 closed
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(Running)" /SD IDCANCEL IDRETRY check
        SetErrorLevel 2
        Quit
    closed:
        FileClose $1
    done:
FunctionEnd
!macroend
!insertmacro WAIT_UNTIL_CLOSED ""
!insertmacro WAIT_UNTIL_CLOSED "un."

Function .onInit
    SetRegView 64
FunctionEnd

Function un.onInit
    SetRegView 64
    StrCpy $0 "$INSTDIR"
    Call un.waitUntilClosed
FunctionEnd

Section "Install"
    ; The Start menu entry for every user, as the program is.
    SetShellVarContext all
    StrCpy $0 "$INSTDIR"
    Call waitUntilClosed
    ; An earlier version, wherever it was installed: its uninstaller removes its own files, in
    ; place (_?=), before this version's go in.
    ReadRegStr $2 HKLM "${UNINSTKEY}" "InstallLocation"
    StrCmp $2 "" fresh
    IfFileExists "$2\uninstall.exe" 0 fresh
    StrCpy $0 "$2"
    Call waitUntilClosed
    ExecWait '"$2\uninstall.exe" /S _?=$2'
    Delete "$2\uninstall.exe"
    RMDir "$2"
    fresh:
    SetOutPath "$INSTDIR"
    File /r "${SOURCE}\*.*"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateDirectory "$SMPROGRAMS\${APPNAME}"
    CreateShortCut "$SMPROGRAMS\${APPNAME}\${APPNAME}.lnk" "$INSTDIR\qvpc.exe"
    WriteRegStr HKLM "${UNINSTKEY}" "DisplayName" "${APPNAME}"
    WriteRegStr HKLM "${UNINSTKEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTKEY}" "Publisher" "QV PC-Software developers"
    WriteRegStr HKLM "${UNINSTKEY}" "DisplayIcon" "$INSTDIR\qvpc.exe"
    WriteRegStr HKLM "${UNINSTKEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTKEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTKEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTKEY}" "EstimatedSize" ${SIZEKB}
    WriteRegDWORD HKLM "${UNINSTKEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTKEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "$SMPROGRAMS\${APPNAME}\${APPNAME}.lnk"
    RMDir "$SMPROGRAMS\${APPNAME}"
    !include "${FILELIST}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTKEY}"
SectionEnd
