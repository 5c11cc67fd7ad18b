# qvpc-cli: the command-line front end, on the widget-free logic only.
add_executable(qvpc-cli
    ${CMAKE_CURRENT_LIST_DIR}/main.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CliFleet.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CliOptions.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CliPreflight.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CliSession.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CliSessionOps.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CliSessionItems.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CliSessionJournal.cpp
    ${CMAKE_CURRENT_LIST_DIR}/IoCommand.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ItemListing.cpp
    ${CMAKE_CURRENT_LIST_DIR}/JsonReport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StopSignal.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TerminalPrompt.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TerminalScreen.cpp
)
target_link_libraries(qvpc-cli PRIVATE qvcore)
target_precompile_headers(qvpc-cli PRIVATE <QObject> <QString> <QStringList> <QList> <QTextStream>)
