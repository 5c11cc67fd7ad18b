qv_sources(qvcore FileDialogs OpResult Questions ResText StoredSettings UserPrompt VbNumber)
