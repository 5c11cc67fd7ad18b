qv_add_test(tst_exchange link/tst_exchange.cpp link/LinkFixture.h LIBS qvsim)
qv_add_test(tst_serialport link/tst_serialport.cpp link/LinkFixture.h LIBS qvsim)
qv_add_test(tst_frmtrance link/tst_frmtrance.cpp LIBS qvgui)
qv_add_test(tst_portcheck link/tst_portcheck.cpp LIBS qvcore)
qv_add_test(tst_commlog link/tst_commlog.cpp link/LinkFixture.h LIBS qvsim)
qv_add_test(tst_networkline link/tst_networkline.cpp link/LinkFixture.h support/FakeLineServer.h
    LIBS qvsim)
qv_add_test(tst_boundedinput link/tst_boundedinput.cpp link/LinkFixture.h support/FakeLineServer.h
    support/Pty.h LIBS qvsim)
