target_sources(qvcore PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ResText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StoredSettings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UserPrompt.cpp
    ${CMAKE_CURRENT_LIST_DIR}/VbNumber.cpp
)
target_sources(qvgui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/LocaliseForm.cpp
    ${CMAKE_CURRENT_LIST_DIR}/QtPrompt.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StartRoutine.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Twips.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FieldFilter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UpDown.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmMain.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmMainBrackets.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmMainFields.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmMainLayout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmMainMenus.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmMainOperations.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmMainParams.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmSelection.cpp
)
