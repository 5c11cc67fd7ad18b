qv_sources(qvcore Session SystemReport)
