# The suites of a Windows build, in one program run under Wine by scripts/windows.sh through
# CTest's emulator: those that need no pseudo terminal and no Linux tools (the simulator of a
# fixture is reached over loopback TCP there), and the Windows suites. The serial exchange through
# Wine's COM1 is checked by scripts/windows/com1-exchange.sh against the simulator, beside the
# same exchange on Linux.
qv_add_test(wine_suites app/tst_vbnumber.cpp app/tst_filetarget.cpp app/tst_stringtable.cpp
    data/tst_controllerblocks.cpp data/tst_writejournal.cpp print/tst_printreport.cpp
    support/RecordingPage.h iomon/tst_iotimeline.cpp iomon/IoFixture.h app/tst_localiseform.cpp
    wine/tst_registrysettings.cpp link/tst_winserialline.cpp support/FakeCommIo.h
    wine/tst_consolestop.cpp wine/tst_windowshelp.cpp LIBS qvapp qvsim qvcli)
# The report printed through the window's print command to a Windows printer named on its
# command line (scripts/windows/print-check.sh).
add_executable(print_to_printer wine/print_to_printer.cpp mainwindow/MainWindowFixture.h)
target_link_libraries(print_to_printer PRIVATE qvtestsupport qvgui)
qv_test_program(print_to_printer)
