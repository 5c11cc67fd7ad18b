qv_sources(qvcore CommLog ControllerLink ControllerLinkExchange ControllerLinkLog PortCheck PortMap
    PortSurvey)
