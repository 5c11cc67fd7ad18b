qv_sources(qvcore CommLog ControllerCommands ControllerLink ControllerLinkExchange ControllerLinkLog
    ControllerScope Line NetAddress NetworkLine NetworkLineTls PortCheck PortIdentity PortMap TelnetCodec
    TlsSettings
    PortSurvey WinSerialLine)
qv_platform_sources(qvcore POSIX NetworkLinePosix PortCheckPosix PortIdentityPosix TlsSettingsPosix
    TlsTrustPosix PortMapPosix SerialLinePosix WinCommIoNone
    WINDOWS NetworkLineWin PortCheckWin PortIdentityWin PortMapWin SerialLineWin TlsSettingsWin
    TlsTrustWin WinCommIoWin)
# An interface with signals and no source file of its own: listed so that it gets its moc output.
target_sources(qvcore PRIVATE ${CMAKE_CURRENT_LIST_DIR}/WinCommIo.h)
