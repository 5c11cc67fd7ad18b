# The command-line program run as a process against the simulated controller on a pty.
foreach(suite tst_cli tst_cliwrite tst_climoves tst_cliprint tst_cliio tst_clifleet tst_clinetwork
      tst_cliitems tst_clijournal tst_clijson)
    qv_add_test(${suite} cli/${suite}.cpp cli/CliRunner.h LIBS qvsim)
    add_dependencies(${suite} qvpc-cli)
endforeach()
