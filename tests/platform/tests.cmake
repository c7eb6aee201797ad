# The program's command line, run as a user runs it. The shell prints "status N" after the
# program's own output, so each expression checks both the message and the exit status.
if(TARGET belvandorithquessal)
  set(bvq_exe $<TARGET_FILE:belvandorithquessal>)
  function(bvq_cli_test name expected)
    add_test(NAME cli.${name} COMMAND sh -c "${ARGN} 2>&1; echo \"status $?\"" ${bvq_exe})
    set_tests_properties(cli.${name} PROPERTIES PASS_REGULAR_EXPRESSION "${expected}")
  endfunction()
  bvq_cli_test(version "^Belvandorithquessal 5\\.04\nstatus 0\n$" "\"$0\" --version")
  bvq_cli_test(help "/build PROJECT\\.bvq.*status 0" "\"$0\" --help")
  # Exit status 2: a project that cannot be read (missing or empty) and a wrong option.
  bvq_cli_test(build_missing_project "project file not found: /no/such/project\\.bvq\nstatus 2\n$"
    "\"$0\" /BUILD /no/such/project.bvq")
  bvq_cli_test(build_empty_project "project file is empty: [^\n]*\\.bvq\nstatus 2\n$"
    "f=$(mktemp --suffix=.bvq) && \"$0\" --build \"$f\"; rc=$?; rm -f \"$f\"; (exit $rc)")
  bvq_cli_test(unknown_option "unknown option --frobnicate.*status 2\n$" "\"$0\" --frobnicate")
endif()
