# Installing on Windows (scripts/windows.sh): the two programs and the help files in one folder,
# which the script fills with Qt's libraries and plugins and packs into the NSIS installer
# (resources/windows/qvpc-software.nsi). The help files lie beside the program, where Help,
# Contents looks first.
include(GNUInstallDirs)
# The window opens without a console window of its own.
set_target_properties(qvpc PROPERTIES WIN32_EXECUTABLE TRUE)
install(TARGETS qvpc qvpc-cli RUNTIME DESTINATION .)
set(QVPC_HELP_DESTINATION .)
include(${PROJECT_SOURCE_DIR}/docs/help/help.cmake)
