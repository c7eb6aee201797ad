# The build tests read the cross-built stubs of the program folder (Data/Install.exe,
# Data/Uninstall.exe) and run the program itself for the command-line builds.
if(TARGET test_setup_build)
  target_link_libraries(test_setup_build PRIVATE bvq_setup_reader)  # setup_reader.h reads setups with it
  if(TARGET bvq_stubs)
    add_dependencies(test_setup_build bvq_stubs)
  endif()
  if(TARGET belvandorithquessal)
    add_dependencies(test_setup_build belvandorithquessal)
  endif()
endif()

# Command-line builds of the example project checked with cabextract and pefile, failure
# cases that must leave no setup behind, and a silent installation under Wine.
if(TARGET belvandorithquessal AND TARGET bvq_stubs)
  set(bvq_cli_cases example missing-source escape-in-message unreadable-project unwritable-output jpeg-header cancel
      hangup closed-output setup-over-source parallel wine-install)
  foreach(case IN LISTS bvq_cli_cases)
    add_test(NAME build_command_line_${case}
      COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/command_line_test.py
              $<TARGET_FILE:belvandorithquessal> ${CMAKE_SOURCE_DIR}/examples ${case})
    set_tests_properties(build_command_line_${case} PROPERTIES TIMEOUT 900
      FIXTURES_REQUIRED wine_capability SKIP_RETURN_CODE ${BVQ_SKIP_STATUS}
      ENVIRONMENT "BVQ_BINARY_DIR=${CMAKE_BINARY_DIR}")
  endforeach()
endif()
