target_sources(qvgui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/FieldFilter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LocaliseForm.cpp
    ${CMAKE_CURRENT_LIST_DIR}/QtFileDialogs.cpp
    ${CMAKE_CURRENT_LIST_DIR}/QtPrompt.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Twips.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UpDown.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmMain.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmMainBrackets.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmMainFields.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmMainLayout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmMainMenus.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmMainOperations.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmMainParams.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmSelection.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frmTrance.cpp
)

# Lamp and button pictures of the main window.
qt_add_resources(qvgui "images"
    PREFIX "/"
    BASE ${PROJECT_SOURCE_DIR}/resources
    FILES
        ${PROJECT_SOURCE_DIR}/resources/images/fileOpen.png
        ${PROJECT_SOURCE_DIR}/resources/images/fileSave.png
        ${PROJECT_SOURCE_DIR}/resources/images/getfromCt.png
        ${PROJECT_SOURCE_DIR}/resources/images/loadtoCt.png
        ${PROJECT_SOURCE_DIR}/resources/images/shogoCt.png
        ${PROJECT_SOURCE_DIR}/resources/images/shogoFile.png
        ${PROJECT_SOURCE_DIR}/resources/images/lampWhite.png
        ${PROJECT_SOURCE_DIR}/resources/images/lampGreen.png
        ${PROJECT_SOURCE_DIR}/resources/images/lampRed.png)
