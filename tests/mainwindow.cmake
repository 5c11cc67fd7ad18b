qv_add_test(mainwindow_suites mainwindow/tst_inputrules.cpp mainwindow/tst_mainwindow.cpp
    mainwindow/tst_closing.cpp mainwindow/tst_screendata.cpp mainwindow/tst_fieldinput.cpp
    mainwindow/tst_movemode.cpp mainwindow/tst_options.cpp mainwindow/tst_commlogwindow.cpp
    mainwindow/tst_journalwindow.cpp mainwindow/tst_windowmodes.cpp mainwindow/tst_portchoice.cpp
    mainwindow/MainWindowFixture.h LIBS qvgui qvsim)
# Pictures of the main window for the documentation (run by hand under xvfb-run).
qv_add_pictures(mainwindow_screenshots mainwindow/screenshots.cpp qvgui)
# Pictures of the communication log and the verification details (run by hand under xvfb-run).
qv_add_pictures(commlog_screenshots mainwindow/commlog_screenshots.cpp qvgui qvsim)
# Pictures of the Write History window (run by hand under xvfb-run).
qv_add_pictures(history_screenshots mainwindow/history_screenshots.cpp qvgui qvsim)
# Pictures of the cycle test window and the write's preview (run by hand under xvfb-run with a
# window manager).
qv_add_pictures(cycletest_screenshots mainwindow/cycletest_screenshots.cpp qvgui qvsim)
