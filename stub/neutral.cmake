# The platform-neutral part of the installer and uninstaller: plain C behind os.h, compiled
# into the stubs by the cross build and natively (with os_posix.c) into the test program of
# tests/installer/. Every other .c file of stub/ is Windows-only.
set(BVQ_STUB_NEUTRAL_SOURCES
  data_block.c
  install_decisions.c
  install_texts.c
  journal.c
  options.c
  password.c
  setup_file.c
  setup_format.c
  text.c
  undo.c
  variables.c
  wizard_pages.c)
list(TRANSFORM BVQ_STUB_NEUTRAL_SOURCES PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
set(BVQ_STUB_POSIX_SOURCES ${CMAKE_CURRENT_LIST_DIR}/os_posix.c)
