# Benchmarks: programs, not tests. The sanitizer tree leaves them out (-DQVPC_BENCH=OFF).
option(QVPC_BENCH "Build the benchmark programs" ON)
if(NOT QVPC_BENCH)
    return()
endif()
# A benchmark of its own source file, linked to lib; further arguments: the programs it starts
# (qvpc-cli is then found by its build path).
function(qv_bench name lib)
    add_executable(${name} ${CMAKE_CURRENT_LIST_DIR}/${name}.cpp)
    target_link_libraries(${name} PRIVATE ${lib})
    if(ARGN)
        add_dependencies(${name} ${ARGN})
    endif()
    if("qvpc-cli" IN_LIST ARGN)
        target_compile_definitions(${name} PRIVATE QVPC_CLI_PATH="$<TARGET_FILE:qvpc-cli>")
    endif()
endfunction()
# The reply wait: CPU while the line is silent, round trip at 9600 baud.
qv_bench(bench_linkwait qvsim)
# The full read and write against the simulator paced at 9600 baud.
qv_bench(bench_transfer qvsim)
# The I/O monitor's 200 ms poll against a qvsim process paced at 9600 baud.
qv_bench(bench_iomon qvcore qvsim_tool)
# qvpc-cli writing to 1 and to 8 controllers at 9600 baud.
qv_bench(bench_fleet qvsim qvpc-cli)
# The I/O monitor window monitoring with its strip chart shown and hidden, in turns.
qv_bench(bench_iochart qvgui qvsim_tool)
# qvpc-cli on network lines: reads through ser2net with and without nodelay, floods, ports.
qv_bench(bench_netline qvsim qvpc-cli)
