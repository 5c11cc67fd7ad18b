# cmake --install into a temporary prefix: the files a Linux desktop needs, validated.
add_test(NAME install_layout
         COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR}
                 -DPREFIX=${CMAKE_BINARY_DIR}/install-check -DVERSION=${PROJECT_VERSION}
                 -P ${CMAKE_CURRENT_SOURCE_DIR}/packaging/check_install.cmake)

# The manual pages render without warnings and keep up with qvpc-cli's commands and options.
add_test(NAME man_pages
         COMMAND ${CMAKE_COMMAND} -DDOC_DIR=${CMAKE_BINARY_DIR}/doc -DCLI=$<TARGET_FILE:qvpc-cli>
                 -DSOURCE_DIR=${PROJECT_SOURCE_DIR}/docs/man
                 -P ${CMAKE_CURRENT_SOURCE_DIR}/packaging/check_man.cmake)

# The bash completion, called as bash calls it on TAB.
add_test(NAME bash_completion
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/packaging/check_completion.sh
                 ${PROJECT_SOURCE_DIR}/resources/linux/qvpc-cli.bash $<TARGET_FILE:qvpc-cli>)
# The same in a bash without the bash-completion package loaded.
add_test(NAME bash_completion_plain
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/packaging/check_completion.sh
                 ${PROJECT_SOURCE_DIR}/resources/linux/qvpc-cli.bash $<TARGET_FILE:qvpc-cli> plain)

# The Debian package, checked by lintian. A sanitizer build is never packaged, so not there.
if(NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize")
    add_test(NAME debian_package
             COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR}
                     -DOUT_DIR=${CMAKE_BINARY_DIR}/package-check -DVERSION=${PROJECT_VERSION}
                     -P ${CMAKE_CURRENT_SOURCE_DIR}/packaging/check_package.cmake)
endif()
# Both install the build; the install manifest in the build folder is written by one at a time.
set_tests_properties(install_layout PROPERTIES RESOURCE_LOCK build_install)
if(TEST debian_package)
    set_tests_properties(debian_package PROPERTIES RESOURCE_LOCK build_install)
endif()
