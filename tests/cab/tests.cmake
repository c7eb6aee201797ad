# LZX tests decode their cabinets with libmspack; the MSZIP tests check every block with
# zlib's inflate.
if(TARGET test_cab)
  find_package(ZLIB REQUIRED)
  target_link_libraries(test_cab PRIVATE mspack ZLIB::ZLIB)
endif()

# Benchmark driver for the folder compressors (bench/lzx-bench.sh runs it).
add_executable(lzx_bench ${CMAKE_SOURCE_DIR}/bench/lzx_bench.cpp)
target_link_libraries(lzx_bench PRIVATE bvq_cab)
set_target_properties(lzx_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)

# Benchmark driver of the cabinet writer (bench/cab-bench.sh compares it with gcab).
add_executable(cab_bench ${CMAKE_SOURCE_DIR}/bench/cab_bench.cpp)
target_link_libraries(cab_bench PRIVATE bvq_cab)
set_target_properties(cab_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
