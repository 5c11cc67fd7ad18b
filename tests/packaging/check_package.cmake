# Builds the Debian package as the README says (cpack -G DEB), into a folder of its own, checks
# that it holds the manual pages, the completion, the package documents and the help, and runs
# lintian on it: no error and no warning may remain. Run with -DBUILD_DIR=... -DOUT_DIR=... -DVERSION=...
file(REMOVE_RECURSE "${OUT_DIR}")
execute_process(COMMAND cpack -G DEB --config "${BUILD_DIR}/CPackConfig.cmake" -B "${OUT_DIR}"
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
file(GLOB deb "${OUT_DIR}/qvpc-software_${VERSION}_*.deb")
if(NOT result EQUAL 0 OR NOT deb)
    message(FATAL_ERROR "cpack -G DEB failed: ${out}")
endif()

execute_process(COMMAND dpkg-deb --contents "${deb}" OUTPUT_VARIABLE contents)
foreach(path usr/share/man/man1/qvpc.1.gz usr/share/man/man1/qvpc-cli.1.gz
        usr/share/man/man1/qvsim.1.gz usr/share/bash-completion/completions/qvpc-cli
        usr/share/doc/qvpc-software/copyright usr/share/doc/qvpc-software/changelog.gz
        usr/share/qvpc-software/help/ja/index.html usr/share/qvpc-software/help/en/index.html)
    if(NOT contents MATCHES " \\./${path}\n")
        message(FATAL_ERROR "not in the package: ${path}")
    endif()
endforeach()

foreach(chm QVPChelp.chm QVPChelp-en.chm)
    if(EXISTS "${BUILD_DIR}/${chm}" AND NOT contents MATCHES " \\./usr/share/qvpc-software/${chm}\n")
        message(FATAL_ERROR "not in the package: usr/share/qvpc-software/${chm}")
    endif()
endforeach()

find_program(LINTIAN lintian REQUIRED)
execute_process(COMMAND ${LINTIAN} --display-info --tag-display-limit 0 "${deb}"
                OUTPUT_VARIABLE out ERROR_VARIABLE err)
message(STATUS "lintian:\n${out}${err}")
if(out MATCHES "(^|\n)[EW]: ")
    message(FATAL_ERROR "lintian reports errors or warnings")
endif()
file(REMOVE_RECURSE "${OUT_DIR}")
