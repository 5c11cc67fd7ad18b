qv_sources(qvgui FieldBinding FieldFilter HelpFile IoTimelineChart LocaliseForm PortStatusLabel
    QtFileDialogs QtPrintDialogs QtPrompt QtTranslations Twips UpDown frmAbout frmCommLog frmHistory
    frmInputOutput frmMain frmMainBrackets frmMainCommLog frmMainDialogs frmMainFields frmMainHistory
    frmMainLayout frmMainMenus frmMainOperations frmMainParams frmOptions frmPrintSelect
    frmSelection frmSplash frmSysInfo frmTrance)
# The cycle test window of Move mode and its chart.
qv_sources(qvgui CycleTimesChart frmCycleTest)

# Lamp and button pictures of the main window; the program icon.
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
        ${PROJECT_SOURCE_DIR}/resources/images/lampRed.png
        ${PROJECT_SOURCE_DIR}/resources/images/qvpc-48.png
        ${PROJECT_SOURCE_DIR}/resources/images/qvpc-128.png
        ${PROJECT_SOURCE_DIR}/resources/images/qvpc-256.png)
