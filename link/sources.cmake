qv_sources(qvcore CommLog ControllerCommands ControllerLink ControllerLinkExchange ControllerLinkLog
    ControllerScope NetAddress NetworkLine PortCheck PortIdentity PortMap TelnetCodec
    PortSurvey)
qv_platform_sources(qvcore POSIX PortCheckPosix PortIdentityPosix PortMapPosix
    WINDOWS PortCheckWin PortIdentityWin PortMapWin WinSerialLine)
