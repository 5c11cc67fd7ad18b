qv_sources(qvcore CommLog ControllerCommands ControllerLink ControllerLinkExchange ControllerLinkLog
    ControllerScope NetAddress NetworkLine PortCheck PortMap TelnetCodec
    PortSurvey WinCommIo WinSerialLine)
qv_platform_sources(qvcore POSIX LineErrorsPosix PortCheckPosix PortMapPosix WinCommIoNone
    WINDOWS LineErrorsWin PortCheckWin PortMapWin WinCommIoWin)
