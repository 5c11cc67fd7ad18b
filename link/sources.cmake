target_sources(qvcore PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ControllerLink.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ControllerLinkExchange.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PortMap.cpp
)
