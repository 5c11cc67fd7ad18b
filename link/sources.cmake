qv_sources(qvcore CommLog ControllerLink ControllerLinkExchange ControllerLinkLog NetAddress
    NetworkLine PortCheck PortMap TelnetCodec
    PortSurvey)
