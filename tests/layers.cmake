# The layering of the folders and the command-line program's independence from widgets.
add_test(NAME layers COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/layers/check_layers.sh
    ${PROJECT_SOURCE_DIR} $<TARGET_FILE:qvpc-cli>)
