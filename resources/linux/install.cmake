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

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qvpc-software)
set(CPACK_PACKAGE_VENDOR "QV PC-Software developers")
set(CPACK_PACKAGE_CONTACT "QV PC-Software developers <qvpc@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Configuration and test tool for QV parts feeder controllers")
set(CPACK_PACKAGE_INSTALL_DIRECTORY qvpc-software)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# Loaded at run time, so invisible to dpkg-shlibdeps: the display plugins, Qt's Japanese texts and
# the fonts that show Japanese.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-ipafont-gothic")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
include(CPack)
