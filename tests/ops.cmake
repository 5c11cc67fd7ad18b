# Move mode and the controller modes against the simulated controller on a pty.
foreach(suite tst_moves tst_controllermodes)
    qv_add_test(${suite} ops/${suite}.cpp transfer/TransferFixture.h LIBS qvsim)
endforeach()
