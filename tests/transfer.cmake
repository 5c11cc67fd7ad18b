qv_add_test(transfer_suites transfer/tst_transfer.cpp transfer/tst_transferwrite.cpp
    transfer/tst_verification.cpp transfer/tst_windowtransfer.cpp transfer/tst_writepreview.cpp
    transfer/TransferFixture.h transfer/TransferCases.h LIBS qvapp)
