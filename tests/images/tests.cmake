# Fuzzing the picture decoders with libFuzzer and AddressSanitizer (clang only):
#   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DBVQ_BUILD_FUZZERS=ON
#   ninja -C build-fuzz fuzz_images_decoders
#   tests/images/fuzz/make_seeds.sh build-fuzz/images-seeds
#   build-fuzz/tests/fuzz_images_decoders build-fuzz/images-corpus build-fuzz/images-seeds
# The decoder sources are compiled again with coverage instrumentation; the libraries they call
# (libpng, libjpeg, the image library) are used as installed.
option(BVQ_BUILD_FUZZERS "Build the libFuzzer targets (needs clang)" OFF)
if(BVQ_BUILD_FUZZERS)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(WARNING "BVQ_BUILD_FUZZERS needs clang; the fuzz targets are not built")
  else()
    find_package(PNG REQUIRED)
    find_package(JPEG REQUIRED)
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(GRAPHICSMAGICK REQUIRED IMPORTED_TARGET GraphicsMagick)
    file(GLOB image_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/images/*.cpp)
    add_executable(fuzz_images_decoders ${CMAKE_CURRENT_SOURCE_DIR}/images/fuzz/fuzz_decoders.cpp ${image_sources})
    set_target_properties(fuzz_images_decoders PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_include_directories(fuzz_images_decoders PRIVATE ${CMAKE_SOURCE_DIR}/src)
    target_compile_options(fuzz_images_decoders PRIVATE -fsanitize=fuzzer,address,undefined -fno-omit-frame-pointer)
    target_link_options(fuzz_images_decoders PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(fuzz_images_decoders PRIVATE bvq_util bvq_platform bvq_resedit PNG::PNG JPEG::JPEG
                          PkgConfig::GRAPHICSMAGICK)
    # A short run from an empty corpus, so that a decoder crash on simple inputs fails CTest.
    add_test(NAME images_fuzz_smoke
             COMMAND fuzz_images_decoders -runs=20000 -max_len=2048 -seed=1)
  endif()
endif()
