qv_sources(qvcore FileDialogs HelpManual OpResult Questions ResText StoredSettings UserPrompt VbNumber)
