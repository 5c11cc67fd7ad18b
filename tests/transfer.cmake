qv_add_test(tst_transfer transfer/tst_transfer.cpp transfer/TransferFixture.h LIBS qvsim)
qv_add_test(tst_verification transfer/tst_verification.cpp transfer/TransferFixture.h LIBS qvsim)
qv_add_test(tst_windowtransfer transfer/tst_windowtransfer.cpp
    LIBS qvapp)
