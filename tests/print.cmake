# The printed report on a recording page; the print selection and the print command in the window;
# the report as a PDF file.
qv_add_test(print_suites print/tst_printreport.cpp print/tst_painterpage.cpp print/tst_printing.cpp
    print/tst_printselect.cpp support/RecordingPage.h print/ScriptedPrintDialogs.h
    mainwindow/MainWindowFixture.h LIBS qvgui)
# Pictures of printing for the documentation (run by hand under xvfb-run).
qv_add_pictures(print_screenshots print/print_screenshots.cpp qvgui)
