# Benchmarks: programs, not tests. The sanitizer tree leaves them out (-DQVPC_BENCH=OFF).
option(QVPC_BENCH "Build the benchmark programs" ON)
if(NOT QVPC_BENCH)
    return()
endif()
# The reply wait: CPU while the line is silent, round trip at 9600 baud.
add_executable(bench_linkwait ${CMAKE_CURRENT_LIST_DIR}/bench_linkwait.cpp)
target_link_libraries(bench_linkwait PRIVATE qvsim)
# The full read and write against the simulator paced at 9600 baud.
add_executable(bench_transfer ${CMAKE_CURRENT_LIST_DIR}/bench_transfer.cpp)
target_link_libraries(bench_transfer PRIVATE qvsim)
# The I/O monitor's 200 ms poll against a qvsim process paced at 9600 baud.
add_executable(bench_iomon ${CMAKE_CURRENT_LIST_DIR}/bench_iomon.cpp)
target_link_libraries(bench_iomon PRIVATE qvcore)
add_dependencies(bench_iomon qvsim_tool)
# qvpc-cli writing to 1 and to 8 controllers at 9600 baud.
add_executable(bench_fleet ${CMAKE_CURRENT_LIST_DIR}/bench_fleet.cpp)
target_link_libraries(bench_fleet PRIVATE qvsim)
target_compile_definitions(bench_fleet PRIVATE QVPC_CLI_PATH="$<TARGET_FILE:qvpc-cli>")
add_dependencies(bench_fleet qvpc-cli)
# The I/O monitor window monitoring with its strip chart shown and hidden, in turns.
add_executable(bench_iochart ${CMAKE_CURRENT_LIST_DIR}/bench_iochart.cpp)
target_link_libraries(bench_iochart PRIVATE qvgui)
add_dependencies(bench_iochart qvsim_tool)
# qvpc-cli on network lines: reads through ser2net with and without nodelay, floods, ports.
add_executable(bench_netline ${CMAKE_CURRENT_LIST_DIR}/bench_netline.cpp)
target_link_libraries(bench_netline PRIVATE qvsim)
target_compile_definitions(bench_netline PRIVATE QVPC_CLI_PATH="$<TARGET_FILE:qvpc-cli>")
add_dependencies(bench_netline qvpc-cli)
