qv_sources(qvcore CommLog ControllerCommands ControllerLink ControllerLinkExchange ControllerLinkLog
    ControllerScope NetAddress NetworkLine PortCheck PortMap TelnetCodec
    PortSurvey)
