qv_sources(qvcore CommLog ControllerCommands ControllerLink ControllerLinkExchange ControllerLinkLog
    ControllerScope Line NetAddress NetworkLine PortCheck PortMap TelnetCodec
    PortSurvey)
qv_platform_sources(qvcore POSIX NetworkLinePosix PortCheckPosix PortMapPosix SerialLinePosix
    WINDOWS NetworkLineWin PortCheckWin PortMapWin SerialLineWin WinSerialLine)
