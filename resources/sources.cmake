# The string table travels inside the program as a Qt resource.
qt_add_resources(qvcore "strings"
    PREFIX "/"
    BASE ${CMAKE_CURRENT_LIST_DIR}
    FILES ${CMAKE_CURRENT_LIST_DIR}/strings.tsv)

# Lamp and button pictures of the main window.
qt_add_resources(qvgui "images"
    PREFIX "/"
    BASE ${CMAKE_CURRENT_LIST_DIR}
    FILES
        ${CMAKE_CURRENT_LIST_DIR}/images/fileOpen.png
        ${CMAKE_CURRENT_LIST_DIR}/images/fileSave.png
        ${CMAKE_CURRENT_LIST_DIR}/images/getfromCt.png
        ${CMAKE_CURRENT_LIST_DIR}/images/loadtoCt.png
        ${CMAKE_CURRENT_LIST_DIR}/images/shogoCt.png
        ${CMAKE_CURRENT_LIST_DIR}/images/shogoFile.png
        ${CMAKE_CURRENT_LIST_DIR}/images/lampWhite.png
        ${CMAKE_CURRENT_LIST_DIR}/images/lampGreen.png
        ${CMAKE_CURRENT_LIST_DIR}/images/lampRed.png)
