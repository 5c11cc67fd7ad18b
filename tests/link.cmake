qv_add_test(link_suites link/tst_exchange.cpp link/tst_serialport.cpp link/tst_frmtrance.cpp
    link/tst_portcheck.cpp link/tst_commlog.cpp link/tst_networkline.cpp link/tst_boundedinput.cpp
    link/tst_winserialline.cpp link/LinkFixture.h support/FakeCommIo.h support/FakeLineServer.h support/Pty.h LIBS qvgui qvsim)
