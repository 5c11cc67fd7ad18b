qv_add_test(tst_exchange link/tst_exchange.cpp link/LinkFixture.h LIBS qvsim)
qv_add_test(tst_serialport link/tst_serialport.cpp link/LinkFixture.h LIBS qvsim)
qv_add_test(tst_frmtrance link/tst_frmtrance.cpp LIBS qvgui)
qv_add_test(tst_portcheck link/tst_portcheck.cpp LIBS qvcore)
