# Move mode and the controller modes against the simulated controller on a pty.
qv_add_test(ops_suites ops/tst_ops.cpp transfer/TransferFixture.h LIBS qvsim)
