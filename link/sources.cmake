target_sources(qvcore PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ControllerLink.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ControllerLinkExchange.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PortMap.cpp
)
target_sources(qvgui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/frmTrance.cpp
)

# Benchmark of the reply wait (CPU while silent, round trip at 9600 baud); not a test.
add_executable(bench_linkwait ${CMAKE_CURRENT_LIST_DIR}/bench_linkwait.cpp)
target_link_libraries(bench_linkwait PRIVATE qvsim)
