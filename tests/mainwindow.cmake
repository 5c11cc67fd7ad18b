qv_add_test(tst_inputrules mainwindow/tst_inputrules.cpp LIBS qvcore)
# Pictures of the main window for the documentation (run by hand under xvfb-run).
add_executable(mainwindow_screenshots mainwindow/screenshots.cpp)
target_link_libraries(mainwindow_screenshots PRIVATE qvtestsupport qvgui)
