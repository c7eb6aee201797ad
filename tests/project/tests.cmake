# Benchmark of project load and save (bench/project_bench.cpp); not part of the test run.
add_executable(project_bench ${CMAKE_SOURCE_DIR}/bench/project_bench.cpp)
target_link_libraries(project_bench PRIVATE bvq_project)
set_target_properties(project_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)

# --export-text / --import-text through the program (needs the executable).
if(TARGET belvandorithquessal)
  add_executable(test_project_cli ${CMAKE_CURRENT_SOURCE_DIR}/project/cli/project_cli_test.cpp)
  set_target_properties(test_project_cli PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(test_project_cli PRIVATE bvq_project GTest::gtest GTest::gtest_main)
  target_include_directories(test_project_cli PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_CURRENT_SOURCE_DIR}/project)
  target_compile_definitions(test_project_cli PRIVATE BVQ_PROGRAM="$<TARGET_FILE:belvandorithquessal>")
  add_dependencies(test_project_cli belvandorithquessal)
  gtest_discover_tests(test_project_cli WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests DISCOVERY_TIMEOUT 60)
endif()

# Fuzzing the project loader with libFuzzer and AddressSanitizer (clang only):
#   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DBVQ_BUILD_FUZZERS=ON
#   ninja -C build-fuzz fuzz_project_file
#   build-fuzz/tests/fuzz_project_file build-fuzz/project-corpus examples
# The project sources are compiled again with coverage instrumentation.
option(BVQ_BUILD_FUZZERS "Build the libFuzzer targets (needs clang)" OFF)
if(BVQ_BUILD_FUZZERS AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  file(GLOB project_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/project/*.cpp)
  add_executable(fuzz_project_file ${CMAKE_CURRENT_SOURCE_DIR}/project/fuzz/fuzz_project_file.cpp ${project_sources})
  set_target_properties(fuzz_project_file PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_include_directories(fuzz_project_file PRIVATE ${CMAKE_SOURCE_DIR}/src)
  target_compile_options(fuzz_project_file PRIVATE -fsanitize=fuzzer,address,undefined -fno-omit-frame-pointer)
  target_link_options(fuzz_project_file PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(fuzz_project_file PRIVATE bvq_util bvq_platform)
  # A short run from the example project, so that a loader crash on simple inputs fails CTest.
  add_test(NAME project_fuzz_smoke
           COMMAND fuzz_project_file -runs=20000 -max_len=65536 -seed=1
                   -seed_inputs=${CMAKE_SOURCE_DIR}/examples/Example.bvq)
endif()
