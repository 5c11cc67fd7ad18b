# The suites of a Windows build, run under Wine by scripts/windows.sh through CTest's emulator:
# those that need no pseudo terminal and no Linux tools (the simulator of a fixture is reached
# over loopback TCP there), and the Windows suites. The serial
# exchange through Wine's COM1 is checked by scripts/windows/com1-exchange.sh against the
# simulator, beside the same exchange on Linux.
qv_add_test(tst_vbnumber app/tst_vbnumber.cpp LIBS qvcore)
qv_add_test(tst_stringtable app/tst_stringtable.cpp LIBS qvcore)
qv_add_test(tst_controllerblocks data/tst_controllerblocks.cpp LIBS qvcore)
qv_add_test(tst_printreport print/tst_printreport.cpp support/RecordingPage.h LIBS qvcore)
qv_add_test(tst_iotimeline iomon/tst_iotimeline.cpp iomon/IoFixture.h LIBS qvsim)
qv_add_test(tst_localiseform app/tst_localiseform.cpp LIBS qvapp)
qv_add_test(tst_registrysettings wine/tst_registrysettings.cpp LIBS qvcore)
