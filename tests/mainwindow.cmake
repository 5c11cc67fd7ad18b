qv_add_test(tst_inputrules mainwindow/tst_inputrules.cpp LIBS qvcore)
qv_add_test(tst_mainwindow mainwindow/tst_mainwindow.cpp mainwindow/MainWindowFixture.h LIBS qvgui)
qv_add_test(tst_closing mainwindow/tst_closing.cpp mainwindow/MainWindowFixture.h LIBS qvgui)
qv_add_test(tst_screendata mainwindow/tst_screendata.cpp mainwindow/MainWindowFixture.h LIBS qvgui)
qv_add_test(tst_fieldinput mainwindow/tst_fieldinput.cpp mainwindow/MainWindowFixture.h LIBS qvgui)
# Pictures of the main window for the documentation (run by hand under xvfb-run).
qv_add_pictures(mainwindow_screenshots mainwindow/screenshots.cpp qvgui)
qv_add_test(tst_movemode mainwindow/tst_movemode.cpp mainwindow/MainWindowFixture.h
    LIBS qvgui qvsim)
qv_add_test(tst_options mainwindow/tst_options.cpp mainwindow/MainWindowFixture.h LIBS qvgui)
qv_add_test(tst_commlogwindow mainwindow/tst_commlogwindow.cpp mainwindow/MainWindowFixture.h
    LIBS qvgui qvsim)
# Pictures of the communication log and the verification details (run by hand under xvfb-run).
qv_add_pictures(commlog_screenshots mainwindow/commlog_screenshots.cpp qvgui qvsim)
qv_add_test(tst_journalwindow mainwindow/tst_journalwindow.cpp mainwindow/MainWindowFixture.h
    LIBS qvgui qvsim)
# Pictures of the Write History window (run by hand under xvfb-run).
qv_add_pictures(history_screenshots mainwindow/history_screenshots.cpp qvgui qvsim)
