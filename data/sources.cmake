target_sources(qvcore PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/QvData.h
    ${CMAKE_CURRENT_LIST_DIR}/ControllerBlocks.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FileDialogs.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FileOperations.cpp
    ${CMAKE_CURRENT_LIST_DIR}/QvDataFile.cpp
)
target_sources(qvgui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/QtFileDialogs.cpp
)
# Input checking: taking numbers from fields, key rules, the range check.
target_sources(qvcore PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/FieldNumber.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KeyRule.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RangeCheck.cpp
)

# libFuzzer targets for the file reader and the block decoder. Clang only; configure a build
# folder of its own with -DQVPC_FUZZ=ON (scripts/fuzz.sh does).
option(QVPC_FUZZ "Build the libFuzzer targets (clang)" OFF)
if(QVPC_FUZZ)
    set(qv_fuzz_flags -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined)
    target_compile_options(qvcore PRIVATE ${qv_fuzz_flags})
    foreach(target fuzz_readqvfile fuzz_extract2temp)
        add_executable(${target} ${CMAKE_CURRENT_LIST_DIR}/../fuzz/${target}.cpp)
        target_link_libraries(${target} PRIVATE qvcore)
        target_compile_options(${target} PRIVATE
            -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
        target_link_options(${target} PRIVATE -fsanitize=fuzzer,address,undefined)
    endforeach()
endif()
# Reading from and writing to the controller, verification.
target_sources(qvcore PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ControllerTransfer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Verification.cpp
)

# Benchmark of the full read and write against the simulator paced at 9600 baud (a program).
add_executable(bench_transfer ${CMAKE_CURRENT_LIST_DIR}/../bench/bench_transfer.cpp)
target_link_libraries(bench_transfer PRIVATE qvsim)
