# The I/O monitor against the simulated controller on a pty: its poll, output switching and
# failures, its window, and its timeline and recordings.
qv_add_test(iomon_suites iomon/tst_iomonitor.cpp iomon/tst_frminputoutput.cpp
    iomon/tst_iotimeline.cpp iomon/IoFixture.h LIBS qvgui qvsim)
# The picture of the window with a minute of the demo's traces (run by hand under xvfb-run).
qv_add_pictures(iomon_screenshots iomon/iomon_screenshots.cpp qvapp)
