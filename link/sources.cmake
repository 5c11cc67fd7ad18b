qv_sources(qvcore CommLog ControllerCommands ControllerLink ControllerLinkExchange ControllerLinkLog
    ControllerScope NetAddress NetworkLine PortCheck PortMap TelnetCodec
    PortSurvey)
qv_platform_sources(qvcore POSIX PortCheckPosix PortMapPosix
    WINDOWS PortCheckWin PortMapWin WinSerialLine)
