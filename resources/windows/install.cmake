# Installing on Windows (scripts/windows.sh): the two programs and the help files in one folder,
# which the script fills with Qt's libraries and plugins and packs into the NSIS installer
# (resources/windows/qvpc-software.nsi). The help files lie beside the program, where Help,
# Contents looks first.
include(GNUInstallDirs)
# The window opens without a console window of its own.
set_target_properties(qvpc PROPERTIES WIN32_EXECUTABLE TRUE)

# qv_windows_resources(TARGET DESCRIPTION): the program's icon, version and manifest, compiled
# by windres into an object of its own (the compiler's warning options are not windres's).
function(qv_windows_resources target description)
    set(QVPC_NAME ${target})
    set(QVPC_DESCRIPTION ${description})
    set(QVPC_ICON ${PROJECT_SOURCE_DIR}/resources/windows/qvpc.ico)
    set(QVPC_MANIFEST ${PROJECT_SOURCE_DIR}/resources/windows/program.manifest)
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
    set(object ${CMAKE_CURRENT_BINARY_DIR}/${target}-resources.o)
    configure_file(${PROJECT_SOURCE_DIR}/resources/windows/program.rc.in ${rc} @ONLY)
    add_custom_command(OUTPUT ${object}
        COMMAND ${CMAKE_RC_COMPILER} -O coff -i ${rc} -o ${object}
        DEPENDS ${rc} ${QVPC_ICON} ${QVPC_MANIFEST} VERBATIM)
    set_source_files_properties(${object} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
    target_sources(${target} PRIVATE ${object})
endfunction()
qv_windows_resources(qvpc "QV PC-Software")
qv_windows_resources(qvpc-cli "QV PC-Software command line")

install(TARGETS qvpc qvpc-cli RUNTIME DESTINATION .)
set(QVPC_HELP_DESTINATION .)
include(${PROJECT_SOURCE_DIR}/docs/help/help.cmake)
