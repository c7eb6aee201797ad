# libFuzzer target over the resource editor (clang only): configure a separate build folder with
#   CC=clang CXX=clang++ cmake -DBVQ_FUZZ=ON -DBVQ_SANITIZE=ON ...
# and run  fuzz_resedit -max_total_time=600 <corpus folder> tests/resedit/fuzz/seeds
option(BVQ_FUZZ "Build the libFuzzer targets (needs clang)" OFF)
if(BVQ_FUZZ AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  target_compile_options(bvq_resedit PRIVATE -fsanitize=fuzzer-no-link)
  add_executable(fuzz_resedit ${CMAKE_CURRENT_SOURCE_DIR}/resedit/fuzz/fuzz_resource_update.cpp)
  target_link_libraries(fuzz_resedit PRIVATE bvq_resedit)
  target_compile_options(fuzz_resedit PRIVATE -fsanitize=fuzzer)
  target_link_options(fuzz_resedit PRIVATE -fsanitize=fuzzer)
  set_target_properties(fuzz_resedit PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
endif()
