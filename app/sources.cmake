# The program's own start-up pieces, shared with the tests that start the program in-process.
target_sources(qvapp PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/DemoController.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StartRoutine.cpp
)

add_executable(qvpc ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(qvpc PRIVATE qvapp)
