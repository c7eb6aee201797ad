# The reader's tests build real setups with the cross-built stubs; the command-line cases run
# the program on the example project and sign with osslsigncode.
if(TARGET test_setup_reader)
  target_link_libraries(test_setup_reader PRIVATE bvq_setup_build)
  if(TARGET bvq_stubs)
    add_dependencies(test_setup_reader bvq_stubs)
  endif()
endif()
if(TARGET belvandorithquessal AND TARGET bvq_stubs)
  foreach(case IN ITEMS inspect extract sign sign-fails sign-wine)
    add_test(NAME setup_reader_command_line_${case}
      COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/command_line_test.py
              $<TARGET_FILE:belvandorithquessal> ${CMAKE_SOURCE_DIR}/examples ${case})
    set_tests_properties(setup_reader_command_line_${case} PROPERTIES TIMEOUT 900
      FIXTURES_REQUIRED wine_capability SKIP_RETURN_CODE ${BVQ_SKIP_STATUS}
      ENVIRONMENT "BVQ_BINARY_DIR=${CMAKE_BINARY_DIR}")
  endforeach()
endif()

# Fuzzing the reader with libFuzzer and AddressSanitizer (clang only, see tests/images/tests.cmake):
#   ninja -C build-fuzz fuzz_setup_reader
#   build-fuzz/tests/fuzz_setup_reader build-fuzz/setup-corpus SEED_SETUPS...
if(BVQ_BUILD_FUZZERS AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  file(GLOB reader_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/setup_reader/*.cpp)
  add_executable(fuzz_setup_reader ${CMAKE_CURRENT_LIST_DIR}/fuzz_setup_reader.cpp ${reader_sources}
                 ${CMAKE_SOURCE_DIR}/src/setup_build/certificate_table.cpp ${CMAKE_SOURCE_DIR}/src/setup_build/setup_trailer.cpp)
  set_target_properties(fuzz_setup_reader PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_include_directories(fuzz_setup_reader PRIVATE ${CMAKE_SOURCE_DIR}/src)
  target_compile_options(fuzz_setup_reader PRIVATE -fsanitize=fuzzer,address,undefined -fno-omit-frame-pointer)
  target_link_options(fuzz_setup_reader PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(fuzz_setup_reader PRIVATE bvq_project bvq_util ${BVQ_MSPACK_LIBRARY})
  add_test(NAME setup_reader_fuzz_smoke COMMAND fuzz_setup_reader -runs=5000 -max_len=4096 -seed=1)
endif()
