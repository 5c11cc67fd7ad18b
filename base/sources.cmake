qv_sources(qvcore FileDialogs ResText StoredSettings UserPrompt VbNumber)
