qv_add_test(tst_controllerblocks data/tst_controllerblocks.cpp LIBS qvcore)
qv_add_test(tst_qvdatafile data/tst_qvdatafile.cpp data/StandInScreen.h LIBS qvcore)
qv_add_test(tst_fileoperations data/tst_fileoperations.cpp data/StandInScreen.h LIBS qvcore)
qv_add_test(tst_qtfiledialogs data/tst_qtfiledialogs.cpp LIBS qvgui)
