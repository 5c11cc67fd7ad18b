# The printed report on a recording page; the print selection and the print command in the window;
# the report as a PDF file.
qv_add_test(tst_printreport print/tst_printreport.cpp support/RecordingPage.h LIBS qvcore)
qv_add_test(tst_painterpage print/tst_painterpage.cpp LIBS qvcore)
qv_add_test(tst_printing print/tst_printing.cpp print/ScriptedPrintDialogs.h
    mainwindow/MainWindowFixture.h LIBS qvgui)
qv_add_test(tst_printselect print/tst_printselect.cpp LIBS qvgui)
# Pictures of printing for the documentation (run by hand under xvfb-run).
qv_add_pictures(print_screenshots print/print_screenshots.cpp qvgui)
