qv_sources(qvcore Session)
