# Checks of the cross-built installer and uninstaller (registered only when they are built).
if(TARGET bvq_stubs)
  add_test(NAME stub_resources
    COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/check_stub_resources.py
            ${BVQ_PROGRAM_DIR}/Data/Install.exe ${BVQ_PROGRAM_DIR}/Data/Uninstall.exe)
endif()

# Silent installs and removals under Wine, in a prefix of the build tree's own. The cases
# share the prefix and therefore run one at a time. Where the Wine probe says Wine cannot run,
# they skip with its reason; where 32-bit programs only run emulated, built-cabinet alone runs,
# with one persistent wineserver and time for emulation (about 15 minutes with a new prefix).
set(bvq_wine_test_properties RESOURCE_LOCK bvq_stub_wineprefix FIXTURES_REQUIRED wine_capability
    SKIP_RETURN_CODE ${BVQ_SKIP_STATUS} ENVIRONMENT "BVQ_BINARY_DIR=${CMAKE_BINARY_DIR}")
if(TARGET bvq_stubs)
  foreach(case stored cabinet volumes volumes-cabinet damaged missing-volume password keep-existing rollback rollback-registry)
    add_test(NAME stub_wine_${case}
      COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/wine_install_test.py
              ${BVQ_PROGRAM_DIR}/Data ${CMAKE_BINARY_DIR}/tests/stub-wineprefix ${case})
    set_tests_properties(stub_wine_${case} PROPERTIES ${bvq_wine_test_properties} TIMEOUT 900)
  endforeach()
endif()

# The wizard of a setup with a window, driven with the keyboard on a virtual screen.
if(TARGET bvq_stubs)
  add_test(NAME stub_wine_wizard
    COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/wine_wizard_test.py
            ${BVQ_PROGRAM_DIR}/Data ${CMAKE_BINARY_DIR}/tests/stub-wizard-wineprefix)
  set_tests_properties(stub_wine_wizard PROPERTIES ${bvq_wine_test_properties} TIMEOUT 900)
endif()

# The uninstaller's progress window, looked at on a virtual screen.
if(TARGET bvq_stubs)
  add_test(NAME stub_wine_uninstall_window
    COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/wine_uninstall_window_test.py
            ${BVQ_PROGRAM_DIR}/Data ${CMAKE_BINARY_DIR}/tests/stub-uninstall-window-wineprefix)
  set_tests_properties(stub_wine_uninstall_window PROPERTIES ${bvq_wine_test_properties} TIMEOUT 600)
endif()

# Setups made by the program itself from a project, installed and removed under Wine.
if(TARGET bvq_stubs AND TARGET belvandorithquessal)
  add_executable(stub_project_maker ${CMAKE_CURRENT_LIST_DIR}/project_maker.cpp)
  target_link_libraries(stub_project_maker PRIVATE bvq_project)
  set_target_properties(stub_project_maker PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_dependencies(stub_project_maker bvq_stubs belvandorithquessal)
  if(TARGET bvq_data)
    add_dependencies(stub_project_maker bvq_data)
  endif()
  foreach(case built-stored built-cabinet built-volumes)
    add_test(NAME stub_wine_${case}
      COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/wine_install_test.py
              ${BVQ_PROGRAM_DIR}/Data ${CMAKE_BINARY_DIR}/tests/stub-wineprefix ${case}
              --program ${CMAKE_BINARY_DIR}/belvandorithquessal --maker $<TARGET_FILE:stub_project_maker>)
    set_tests_properties(stub_wine_${case} PROPERTIES ${bvq_wine_test_properties} TIMEOUT 900)
  endforeach()
  set_tests_properties(stub_wine_built-cabinet PROPERTIES TIMEOUT 2400)
  # The showcase project (every page and look) built by the program, installed and removed
  # through the wizard and the uninstaller window.
  add_test(NAME stub_wine_wizard_built
    COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/wine_wizard_test.py
            ${BVQ_PROGRAM_DIR}/Data ${CMAKE_BINARY_DIR}/tests/stub-wizard-wineprefix
            --program ${CMAKE_BINARY_DIR}/belvandorithquessal --maker $<TARGET_FILE:stub_project_maker>)
  set_tests_properties(stub_wine_wizard_built PROPERTIES ${bvq_wine_test_properties} TIMEOUT 900)
endif()
