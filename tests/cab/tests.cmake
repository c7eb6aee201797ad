# LZX tests decode their cabinets with libmspack.
if(TARGET test_cab)
  target_link_libraries(test_cab PRIVATE mspack)
endif()
