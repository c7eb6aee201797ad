# Fuzzing the RTF reader with libFuzzer, AddressSanitizer and UBSan (clang only):
#   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DBVQ_BUILD_FUZZERS=ON -DBVQ_SANITIZE=ON
#   ninja -C build-fuzz fuzz_rtf_reader
#   build-fuzz/tests/fuzz_rtf_reader -dict=tests/rtf/fuzz/rtf.dict build-fuzz/rtf-corpus tests/rtf/fuzz/seeds
# The first folder collects the corpus; the seeds folder is only read.
option(BVQ_BUILD_FUZZERS "Build the libFuzzer targets (needs clang)" OFF)
if(BVQ_BUILD_FUZZERS)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(WARNING "BVQ_BUILD_FUZZERS needs clang; the RTF fuzz target is not built")
  else()
    file(GLOB rtf_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/rtf/*.cpp)
    add_executable(fuzz_rtf_reader ${CMAKE_CURRENT_SOURCE_DIR}/rtf/fuzz/fuzz_rtf_reader.cpp ${rtf_sources})
    set_target_properties(fuzz_rtf_reader PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_include_directories(fuzz_rtf_reader PRIVATE ${CMAKE_SOURCE_DIR}/src)
    target_compile_options(fuzz_rtf_reader PRIVATE -fsanitize=fuzzer,address,undefined -fno-omit-frame-pointer)
    target_link_options(fuzz_rtf_reader PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(fuzz_rtf_reader PRIVATE bvq_util)
    # A short run from the seeds (not written to), so that a crash on simple inputs fails CTest.
    file(GLOB rtf_seeds ${CMAKE_CURRENT_SOURCE_DIR}/rtf/fuzz/seeds/*.rtf)
    list(JOIN rtf_seeds "," rtf_seed_list)
    add_test(NAME rtf_fuzz_smoke
             COMMAND fuzz_rtf_reader -runs=5000 -max_len=4096 -seed=1 -timeout=10
                     -dict=${CMAKE_CURRENT_SOURCE_DIR}/rtf/fuzz/rtf.dict -seed_inputs=${rtf_seed_list})
  endif()
endif()

# The rich-edit control that shows licence texts in the installer, as a judge of our RTF: a
# Windows program that loads an RTF file into it and writes what it shows (run under Wine by
# the tests through tests/rtf/richedit_oracle.h).
if(BVQ_MINGW_CC)
  set(richedit_dump ${CMAKE_BINARY_DIR}/tests/richedit_dump.exe)
  add_custom_command(OUTPUT ${richedit_dump}
    COMMAND ${BVQ_MINGW_CC} -std=c11 -O2 -Wall -Wextra -municode -DUNICODE -D_UNICODE -static
            -o ${richedit_dump} ${CMAKE_CURRENT_LIST_DIR}/richedit_dump.c -luser32 -lgdi32
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/richedit_dump.c
    COMMENT "Cross-building the rich-edit dump program"
    VERBATIM)
  add_custom_target(richedit_dump DEPENDS ${richedit_dump})
  foreach(t test_rtf test_app)
    if(TARGET ${t})
      add_dependencies(${t} richedit_dump)
    endif()
  endforeach()
endif()
