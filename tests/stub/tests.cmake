# Checks of the cross-built installer and uninstaller (registered only when they are built).
if(TARGET bvq_stubs)
  add_test(NAME stub_resources
    COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/check_stub_resources.py
            ${BVQ_PROGRAM_DIR}/Data/Install.exe ${BVQ_PROGRAM_DIR}/Data/Uninstall.exe)
endif()
