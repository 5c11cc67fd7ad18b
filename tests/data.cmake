qv_add_test(tst_controllerblocks data/tst_controllerblocks.cpp LIBS qvcore)
