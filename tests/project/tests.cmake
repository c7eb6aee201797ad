# Benchmark of project load and save (bench/project_bench.cpp); not part of the test run.
add_executable(project_bench ${CMAKE_SOURCE_DIR}/bench/project_bench.cpp)
target_link_libraries(project_bench PRIVATE bvq_project)
set_target_properties(project_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
