# qvpc-cli: the command-line front end, on the widget-free logic only. Its commands are a library
# of their own, so that the option reader's fuzz target takes them as the program does.
add_library(qvcli STATIC
    ${CMAKE_CURRENT_LIST_DIR}/CliArguments.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CliCommands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CliFleet.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CliGlobalOptions.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CliOptions.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CliPreflight.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CliSession.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CliSessionCycle.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CliSessionOps.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CliSessionItems.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CliSessionJournal.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CliTarget.cpp
    ${CMAKE_CURRENT_LIST_DIR}/IoCommand.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ItemListing.cpp
    ${CMAKE_CURRENT_LIST_DIR}/JsonReport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TerminalOutput.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TerminalPrompt.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TerminalScreen.cpp
)
target_link_libraries(qvcli PUBLIC qvcore)
target_precompile_headers(qvcli PRIVATE <QObject> <QString> <QStringList> <QList> <QTextStream>)
# The header holds the class (moc); its sources differ by platform.
target_sources(qvcli PRIVATE ${CMAKE_CURRENT_LIST_DIR}/StopSignal.h)
qv_platform_sources(qvcli POSIX ConsoleStreamPosix StopSignalPosix
    WINDOWS ConsoleStreamWin StopSignalWin)
add_executable(qvpc-cli ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(qvpc-cli PRIVATE qvcli)
