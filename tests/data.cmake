qv_add_test(data_suites data/tst_controllerblocks.cpp data/tst_qvdatafile.cpp
    data/tst_fileoperations.cpp data/tst_filesaving.cpp data/FileOperationsRig.h
    data/tst_writejournal.cpp data/tst_qtfiledialogs.cpp LIBS qvgui)
# Its fixture files are found beside the suite's source, however the source path was compiled in.
set_tests_properties(tst_qvdatafile PROPERTIES WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/data)
