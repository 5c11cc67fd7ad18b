qv_sources(qvsim ControllerModel ControllerSimulator SimFault Ser2NetRunner)

# The simulator as a tool: qvsim serves it on a pty.
add_executable(qvsim_tool ${CMAKE_CURRENT_LIST_DIR}/qvsim_main.cpp)
set_target_properties(qvsim_tool PROPERTIES OUTPUT_NAME qvsim)
target_link_libraries(qvsim_tool PRIVATE qvsim)
