# The build tests read the cross-built stubs of the program folder (Data/Install.exe,
# Data/Uninstall.exe) and run the program itself for the command-line builds.
if(TARGET test_build)
  if(TARGET bvq_stubs)
    add_dependencies(test_build bvq_stubs)
  endif()
  if(TARGET belvandorithquessal)
    add_dependencies(test_build belvandorithquessal)
  endif()
endif()
