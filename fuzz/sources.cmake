# libFuzzer targets for the parsers of what comes from outside: data files, controller replies,
# the command line, the settings file, the folder of stable device names, a device server's
# Telnet stream, the port map's network addresses and the headers of the journal of writes. Clang
# only; they are built in the sanitizer tree, configured with -DQVPC_FUZZ=ON (scripts/sanitize.sh
# does).
option(QVPC_FUZZ "Build the libFuzzer targets (clang)" OFF)
if(QVPC_FUZZ)
    set(qv_fuzz_flags -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined)
    target_compile_options(qvcore PRIVATE ${qv_fuzz_flags})
    foreach(target fuzz_readqvfile fuzz_extract2temp fuzz_exchange fuzz_ioports fuzz_cliargs
            fuzz_settings fuzz_stablenames fuzz_telnetcodec fuzz_netaddress fuzz_journalheader)
        add_executable(${target} ${CMAKE_CURRENT_LIST_DIR}/${target}.cpp)
        # The Qt headers parsed once for all targets (they share their flags).
        if(target STREQUAL fuzz_readqvfile)
            target_precompile_headers(${target} PRIVATE <QObject> <QString> <QStringList> <QList>
                <QByteArray> <QFile> <QTimer>)
        else()
            target_precompile_headers(${target} REUSE_FROM fuzz_readqvfile)
        endif()
        target_link_libraries(${target} PRIVATE qvcore)
        target_compile_options(${target} PRIVATE
            -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
        target_link_options(${target} PRIVATE -fsanitize=fuzzer,address,undefined)
    endforeach()
    # qvpc-cli's option reader, with the command table it reads.
    target_compile_options(qvcli PRIVATE ${qv_fuzz_flags})
    target_link_libraries(fuzz_cliargs PRIVATE qvcli)
endif()
