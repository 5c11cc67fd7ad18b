qv_sources(qvcore IoMonitor IoRecordFile IoRecorder IoSignals IoTimeline)
