# The installer's platform-neutral C (stub/neutral.cmake) compiled natively with the POSIX
# services of os_posix.c, and checked by test_installer on every machine: no Wine needed.
# Its fixtures are setups the program builds, so it needs the cross-built stubs as data.
include(${CMAKE_SOURCE_DIR}/stub/neutral.cmake)
add_library(bvq_stub_neutral STATIC ${BVQ_STUB_NEUTRAL_SOURCES} ${BVQ_STUB_POSIX_SOURCES})
set_target_properties(bvq_stub_neutral PROPERTIES C_STANDARD 11 C_STANDARD_REQUIRED ON C_EXTENSIONS OFF)
target_compile_options(bvq_stub_neutral PRIVATE -Wall -Wextra -Wno-unused-parameter)

bvq_add_test(installer LIBS bvq_stub_neutral bvq_setup_build bvq_setup_reader)
if(TARGET test_installer)
  target_include_directories(test_installer PRIVATE ${CMAKE_SOURCE_DIR})  # "stub/..."
  if(TARGET bvq_stubs)
    add_dependencies(test_installer bvq_stubs)
  endif()
endif()
