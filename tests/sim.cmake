qv_add_test(tst_simulator sim/tst_simulator.cpp LIBS qvsim)
qv_add_test(tst_qvsimtool sim/tst_qvsimtool.cpp LIBS Qt6::SerialPort)
add_dependencies(tst_qvsimtool qvsim_tool)
