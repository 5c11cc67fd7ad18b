# The program's own start-up pieces, shared with the tests that start the program in-process.
qv_sources(qvapp DemoController StartRoutine WindowOptions)

add_executable(qvpc ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(qvpc PRIVATE qvapp)
