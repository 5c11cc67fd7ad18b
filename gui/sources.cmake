qv_sources(qvgui FieldFilter LocaliseForm QtFileDialogs QtPrintDialogs QtPrompt Twips UpDown
    frmMain frmMainBrackets frmMainFields frmMainLayout frmMainMenus frmMainOperations
    frmMainParams frmPrintSelect frmSelection frmTrance)

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
