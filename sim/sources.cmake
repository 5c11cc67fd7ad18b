qv_sources(qvsim ControllerModel ControllerSimulator Ser2NetRunner SimFault)
qv_platform_sources(qvsim POSIX ControllerSimulatorPty WINDOWS ControllerSimulatorTcp)

# The simulator as a tool: qvsim serves it on a pty.
if(NOT WIN32)
    add_executable(qvsim_tool ${CMAKE_CURRENT_LIST_DIR}/qvsim_main.cpp)
    set_target_properties(qvsim_tool PROPERTIES OUTPUT_NAME qvsim)
    target_link_libraries(qvsim_tool PRIVATE qvsim)
endif()
