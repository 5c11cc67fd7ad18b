qv_add_test(tst_controllerblocks data/tst_controllerblocks.cpp LIBS qvcore)
qv_add_test(tst_qvdatafile data/tst_qvdatafile.cpp LIBS qvcore)
qv_add_test(tst_fileoperations data/tst_fileoperations.cpp LIBS qvcore)
qv_add_test(tst_writejournal data/tst_writejournal.cpp LIBS qvcore)
qv_add_test(tst_qtfiledialogs data/tst_qtfiledialogs.cpp LIBS qvgui)
# Its fixture files are found beside the suite's source, however the source path was compiled in.
set_tests_properties(tst_qvdatafile PROPERTIES WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/data)
