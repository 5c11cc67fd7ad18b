# The command-line program run as a process against the simulated controller on a pty.
qv_add_test(cli_suites cli/tst_cli.cpp cli/tst_cliwrite.cpp cli/tst_climoves.cpp cli/tst_cliprint.cpp
    cli/tst_cliio.cpp cli/tst_clifleet.cpp cli/tst_clinetwork.cpp cli/tst_clitls.cpp cli/tst_cliitems.cpp
    cli/tst_clijournal.cpp cli/tst_clijson.cpp cli/tst_cliguards.cpp cli/tst_cliports.cpp cli/CliRunner.h
    LIBS qvsim)
add_dependencies(cli_suites qvpc-cli)
