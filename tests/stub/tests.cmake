# Checks of the cross-built installer and uninstaller (registered only when they are built).
if(TARGET bvq_stubs)
  add_test(NAME stub_resources
    COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/check_stub_resources.py
            ${BVQ_PROGRAM_DIR}/Data/Install.exe ${BVQ_PROGRAM_DIR}/Data/Uninstall.exe)
endif()

# Silent installs and removals under Wine, in a prefix of the build tree's own. The cases
# share the prefix and therefore run one at a time.
find_program(BVQ_WINE wine)
if(TARGET bvq_stubs AND BVQ_WINE)
  foreach(case stored cabinet volumes volumes-cabinet damaged missing-volume password keep-existing)
    add_test(NAME stub_wine_${case}
      COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/wine_install_test.py
              ${BVQ_PROGRAM_DIR}/Data ${CMAKE_BINARY_DIR}/tests/stub-wineprefix ${case})
    set_tests_properties(stub_wine_${case} PROPERTIES RESOURCE_LOCK bvq_stub_wineprefix TIMEOUT 900)
  endforeach()
endif()
