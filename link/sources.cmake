qv_sources(qvcore CommLog ControllerCommands ControllerLink ControllerLinkExchange ControllerLinkLog
    ControllerScope NetAddress NetworkLine PortCheck PortIdentity PortMap TelnetCodec
    PortSurvey WinCommIo WinSerialLine)
qv_platform_sources(qvcore POSIX LineErrorsPosix PortCheckPosix PortIdentityPosix PortMapPosix
    WinCommIoNone
    WINDOWS LineErrorsWin PortCheckWin PortIdentityWin PortMapWin WinCommIoWin)
