# The printed report on a recording page; the print selection and the print command in the window;
# the report as a PDF file.
qv_add_test(tst_printreport print/tst_printreport.cpp support/RecordingPage.h LIBS qvcore)
