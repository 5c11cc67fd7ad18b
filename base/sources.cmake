qv_sources(qvcore FileDialogs FileTarget HelpManual OpResult Questions ResText StoredSettings
    UserPrompt VbNumber VisibleText)
qv_platform_sources(qvcore
    POSIX NativeHelpNone PlatformTextsPosix StoredSettingsFile SystemInfoProgramNone
    WINDOWS NativeHelpWin PlatformTextsWin StoredSettingsRegistry SystemInfoProgramWin)
