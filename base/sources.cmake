qv_sources(qvcore FileDialogs FileTarget HelpManual OpResult Questions ResText StoredSettings
    UserPrompt VbNumber VisibleText)
qv_platform_sources(qvcore
    POSIX FileTargetPosix NativeHelpNone PlatformTextsPosix StoredSettingsFile SystemInfoProgramNone
    WINDOWS FileTargetWin NativeHelpWin PlatformTextsWin StoredSettingsRegistry SystemInfoProgramWin)
