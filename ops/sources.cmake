target_sources(qvcore PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ControllerModes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CycleTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MoveOperations.cpp
)
