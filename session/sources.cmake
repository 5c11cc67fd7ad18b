qv_sources(qvcore PortChoice Session SystemReport WindowModes)
