# Installs the build into a fresh prefix and checks what a Linux desktop needs: the programs in
# bin/, the manual pages, the bash completion, a valid desktop entry, the icon in the hicolor
# theme, valid AppStream metainfo, the manual, and --version from both programs. Run with -DBUILD_DIR=... -DPREFIX=...
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed")
endif()

set(metainfo share/metainfo/io.github.qvpc.QvPcSoftware.metainfo.xml)
foreach(path bin/qvpc bin/qvpc-cli bin/qvsim share/applications/qvpc.desktop
        share/icons/hicolor/48x48/apps/qvpc.png share/icons/hicolor/256x256/apps/qvpc.png
        ${metainfo} share/man/man1/qvpc.1.gz share/man/man1/qvpc-cli.1.gz
        share/man/man1/qvsim.1.gz share/bash-completion/completions/qvpc-cli
        share/doc/qvpc-software/copyright share/doc/qvpc-software/changelog.gz
        share/qvpc-software/help/ja/index.html share/qvpc-software/help/en/index.html
        share/qvpc-software/help/ja/images/main-ja.png)
    if(NOT EXISTS "${PREFIX}/${path}")
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()
# The help files, where the program looks for them besides its own folder (bin/../share/...),
# when the build made them.
foreach(chm QVPChelp.chm QVPChelp-en.chm)
    if(EXISTS "${BUILD_DIR}/${chm}" AND NOT EXISTS "${PREFIX}/share/qvpc-software/${chm}")
        message(FATAL_ERROR "not installed: share/qvpc-software/${chm}")
    endif()
endforeach()

find_program(DESKTOP_VALIDATE desktop-file-validate REQUIRED)
execute_process(COMMAND ${DESKTOP_VALIDATE} "${PREFIX}/share/applications/qvpc.desktop"
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0 OR NOT out STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate: ${out}")
endif()
find_program(APPSTREAMCLI appstreamcli REQUIRED)
execute_process(COMMAND ${APPSTREAMCLI} validate --no-net "${PREFIX}/${metainfo}"
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "appstreamcli validate: ${out}")
endif()

foreach(program qvpc qvpc-cli)
    execute_process(COMMAND "${PREFIX}/bin/${program}" --version
                    RESULT_VARIABLE result OUTPUT_VARIABLE out)
    if(NOT result EQUAL 0 OR NOT out STREQUAL "${program} ${VERSION}\n")
        message(FATAL_ERROR "${program} --version said '${out}' (${result})")
    endif()
endforeach()
file(REMOVE_RECURSE "${PREFIX}")
