# The preview drawing without any window (Qt's offscreen platform), and the --render-preview
# command of the program.
if(TARGET bvq_preview)
  file(GLOB preview_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
  add_executable(test_preview ${preview_test_sources})
  set_target_properties(test_preview PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(test_preview PRIVATE bvq_preview GTest::gtest)
  target_include_directories(test_preview PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_CURRENT_LIST_DIR}
                                                  ${CMAKE_SOURCE_DIR}/tests/setup_build)
  target_compile_definitions(test_preview PRIVATE
    BVQ_SOURCE_DIR="${CMAKE_SOURCE_DIR}" BVQ_BINARY_DIR="${CMAKE_BINARY_DIR}")
  if(TARGET belvandorithquessal)
    add_dependencies(test_preview belvandorithquessal)
  endif()
  gtest_discover_tests(test_preview WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;BVQ_SOURCE_DIR=${CMAKE_SOURCE_DIR};BVQ_BINARY_DIR=${CMAKE_BINARY_DIR}"
    DISCOVERY_TIMEOUT 60)
endif()
