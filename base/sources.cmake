target_sources(qvcore PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/FileDialogs.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ResText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StoredSettings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UserPrompt.cpp
    ${CMAKE_CURRENT_LIST_DIR}/VbNumber.cpp
)
