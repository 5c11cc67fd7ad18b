qv_add_test(tst_inputrules mainwindow/tst_inputrules.cpp LIBS qvcore)
