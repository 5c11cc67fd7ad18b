# Installing on Linux: the three programs, the desktop entry, the icon in the hicolor theme and
# the AppStream metainfo; CPack makes a Debian package whose dependencies dpkg-shlibdeps computes
# from the binaries.
include(GNUInstallDirs)

install(TARGETS qvpc qvpc-cli qvsim_tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/qvpc.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 48 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/images/qvpc-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME qvpc.png)
endforeach()
install(FILES ${CMAKE_CURRENT_LIST_DIR}/io.github.qvpc.QvPcSoftware.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The manual pages (docs/man, roff; their footer's version becomes the one being built, so an
# unbuilt page read with man -l shows a version too) and the package's changelog,
# compressed as Debian wants them: gzip -9n keeps no name and no time, so the build is
# reproducible.
find_program(GZIP gzip REQUIRED)
set(qv_doc_out ${PROJECT_BINARY_DIR}/doc)
set(qv_man_pages)
foreach(page qvpc qvpc-cli qvsim)
    set(qv_page_source ${PROJECT_SOURCE_DIR}/docs/man/${page}.1)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${qv_page_source})
    file(READ ${qv_page_source} qv_page)
    string(REGEX REPLACE "\"QV PC-Software [^\"]*\"" "\"QV PC-Software ${PROJECT_VERSION}\""
                         qv_page "${qv_page}")
    file(CONFIGURE OUTPUT ${qv_doc_out}/${page}.1 CONTENT "${qv_page}" @ONLY)
    add_custom_command(OUTPUT ${qv_doc_out}/${page}.1.gz
                       COMMAND ${GZIP} -9nf -k ${page}.1
                       DEPENDS ${qv_doc_out}/${page}.1
                       WORKING_DIRECTORY ${qv_doc_out} VERBATIM)
    list(APPEND qv_man_pages ${qv_doc_out}/${page}.1.gz)
endforeach()
# The changelog's newest entry must name the version being built.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/changelog qv_changelog_top LIMIT_COUNT 1)
if(NOT qv_changelog_top MATCHES "^qvpc-software \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "resources/linux/changelog does not start with version ${PROJECT_VERSION}")
endif()
add_custom_command(OUTPUT ${qv_doc_out}/changelog.gz
                   COMMAND ${GZIP} -9n -c ${CMAKE_CURRENT_LIST_DIR}/changelog
                           > ${qv_doc_out}/changelog.gz
                   DEPENDS ${CMAKE_CURRENT_LIST_DIR}/changelog VERBATIM)
add_custom_target(qv_docs ALL DEPENDS ${qv_man_pages} ${qv_doc_out}/changelog.gz)
install(FILES ${qv_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/qvpc-cli.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME qvpc-cli)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${qv_doc_out}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/qvpc-software)
# The user manual: help files and HTML pages in share/qvpc-software.
include(${PROJECT_SOURCE_DIR}/docs/help/help.cmake)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qvpc-software)
set(CPACK_PACKAGE_VENDOR "QV PC-Software developers")
set(CPACK_PACKAGE_CONTACT "QV PC-Software developers <qvpc@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Configuration and test tool for QV parts feeder controllers")
# The long description; CPack puts the summary above it and indents each line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "QV PC-Software reads the settings of a QV parts feeder controller over an
RS-232C line (a serial port, a USB adapter or a serial device server on the
network), lets the user edit them and writes them back. Settings are kept in
QV data files, verified against the controller and printed.

The package holds the window (qvpc), a command-line program for scripts
(qvpc-cli) and a simulated controller for trying both without hardware
(qvsim).")
# Directories as Debian wants them, whatever the umask of the build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_INSTALL_DIRECTORY qvpc-software)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# Loaded at run time, so invisible to dpkg-shlibdeps: the display plugins, Qt's Japanese texts and
# the fonts that show Japanese.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-ipafont-gothic")
# xchm shows the help file; without it the manual opens in the web browser.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, xchm")
include(CPack)
