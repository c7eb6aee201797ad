# The main window through its real widgets on Qt's offscreen platform (no display needed).
# The program folder is the build tree: language files, pictures and the stubs the build
# test needs (it is skipped when Data/Install.exe was not built).
if(TARGET bvq_app)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  file(GLOB app_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
  add_executable(test_app ${app_test_sources})
  set_target_properties(test_app PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(test_app PRIVATE bvq_app bvq_setup_reader Qt6::Test GTest::gtest)
  target_include_directories(test_app PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_CURRENT_LIST_DIR}
                                              ${CMAKE_SOURCE_DIR}/tests/setup_build ${CMAKE_SOURCE_DIR}/tests/rtf
                                              ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(test_app PRIVATE
    BVQ_SOURCE_DIR="${CMAKE_SOURCE_DIR}" BVQ_BINARY_DIR="${CMAKE_BINARY_DIR}")
  foreach(dep bvq_data bvq_stubs)
    if(TARGET ${dep})
      add_dependencies(test_app ${dep})
    endif()
  endforeach()
  gtest_discover_tests(test_app WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;BVQ_SOURCE_DIR=${CMAKE_SOURCE_DIR};BVQ_BINARY_DIR=${CMAKE_BINARY_DIR}"
    DISCOVERY_TIMEOUT 60)
endif()

# Pictures of every window for looking at them (not a test): bvq_screenshots OUT [LANGUAGE].
if(TARGET bvq_app)
  add_executable(bvq_screenshots ${CMAKE_CURRENT_LIST_DIR}/screenshots/screenshots.cpp)
  set_target_properties(bvq_screenshots PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(bvq_screenshots PRIVATE bvq_app)
endif()
