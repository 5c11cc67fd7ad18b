qv_sources(qvcore IoMonitor IoSignals)
