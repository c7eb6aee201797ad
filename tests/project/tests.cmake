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
