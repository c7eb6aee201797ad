# The Qt windows of src/editors, driven through real widgets on the offscreen platform.
if(TARGET bvq_editors)
  find_package(Qt6 REQUIRED COMPONENTS Widgets Test)
  file(GLOB editors_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
  add_executable(test_editors ${editors_test_sources})
  set_target_properties(test_editors PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(test_editors PRIVATE bvq_editors Qt6::Test GTest::gtest)
  target_include_directories(test_editors PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_CURRENT_LIST_DIR})
  target_compile_definitions(test_editors PRIVATE
    BVQ_SOURCE_DIR="${CMAKE_SOURCE_DIR}" BVQ_BINARY_DIR="${CMAKE_BINARY_DIR}")
  gtest_discover_tests(test_editors WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;BVQ_SOURCE_DIR=${CMAKE_SOURCE_DIR};BVQ_BINARY_DIR=${CMAKE_BINARY_DIR}"
    DISCOVERY_TIMEOUT 60)
endif()
