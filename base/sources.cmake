qv_sources(qvcore FileDialogs FileTarget HelpManual OpResult Questions ResText StoredSettings
    UserPrompt VbNumber)
qv_platform_sources(qvcore
    POSIX FileTargetPosix NativeHelpNone StoredSettingsFile SystemInfoProgramNone
    WINDOWS FileTargetWin NativeHelpWin StoredSettingsRegistry SystemInfoProgramWin)
