# The README's command-line section, followed literally against simulated controllers.
add_test(NAME follow_readme COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/readme/follow_readme.sh
    ${PROJECT_SOURCE_DIR} ${CMAKE_BINARY_DIR})
set_tests_properties(follow_readme PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
