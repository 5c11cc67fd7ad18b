target_sources(qvsim PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ControllerModel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ControllerSimulator.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SimFault.cpp
)
