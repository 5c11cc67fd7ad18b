qv_add_test(tst_exchange link/tst_exchange.cpp link/LinkFixture.h LIBS qvsim)
