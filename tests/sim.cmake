qv_add_test(sim_suites sim/tst_simulator.cpp sim/tst_qvsimtool.cpp LIBS qvsim)
add_dependencies(sim_suites qvsim_tool)
