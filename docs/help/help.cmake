# The user manual: the HTML pages of docs/help/ja and docs/help/en with the pictures of
# docs/screenshots, staged as help/ja and help/en in the build folder and compiled by chmcmd
# (Debian fp-utils) into QVPChelp.chm (Japanese) and QVPChelp-en.chm beside the programs.
# Installed into share/qvpc-software, where the program looks besides its own folder.
find_program(CHMCMD chmcmd)
if(NOT CHMCMD)
    message(STATUS "chmcmd not found (Debian package fp-utils): the help files QVPChelp.chm "
                   "and QVPChelp-en.chm are not built, only the HTML manual")
endif()
file(GLOB qv_help_pictures CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/screenshots/*.png)
set(qv_help_outputs)
set(qv_help_chms)
foreach(lang ja en)
    if(lang STREQUAL "ja")
        set(chm ${PROJECT_BINARY_DIR}/QVPChelp.chm)
        set(codepage CP932)
    else()
        set(chm ${PROJECT_BINARY_DIR}/QVPChelp-${lang}.chm)
        set(codepage "")
    endif()
    set(outputs ${PROJECT_BINARY_DIR}/help/${lang}/index.html)
    if(CHMCMD)
        list(APPEND outputs ${chm})
        list(APPEND qv_help_chms ${chm})
    endif()
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/${lang}/*)
    add_custom_command(OUTPUT ${outputs}
                       COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_CURRENT_LIST_DIR}/${lang}
                               -DPICTURES=${PROJECT_SOURCE_DIR}/docs/screenshots
                               -DSTAGE=${PROJECT_BINARY_DIR}/help/${lang} -DCHMCMD=${CHMCMD}
                               -DCHM=${chm} -DCODEPAGE=${codepage} -P ${CMAKE_CURRENT_LIST_DIR}/stage_help.cmake
                       DEPENDS ${sources} ${qv_help_pictures}
                               ${CMAKE_CURRENT_LIST_DIR}/stage_help.cmake
                       COMMENT "Help pages (${lang})" VERBATIM)
    list(APPEND qv_help_outputs ${outputs})
endforeach()
add_custom_target(qv_help ALL DEPENDS ${qv_help_outputs})

# Beside the program on Windows (QVPC_HELP_DESTINATION "."), in share/qvpc-software elsewhere.
if(NOT DEFINED QVPC_HELP_DESTINATION)
    set(QVPC_HELP_DESTINATION ${CMAKE_INSTALL_DATADIR}/qvpc-software)
endif()
install(FILES ${qv_help_chms} DESTINATION ${QVPC_HELP_DESTINATION})
install(DIRECTORY ${PROJECT_BINARY_DIR}/help DESTINATION ${QVPC_HELP_DESTINATION}
        FILES_MATCHING PATTERN "*.html" PATTERN "*.css" PATTERN "*.png")
