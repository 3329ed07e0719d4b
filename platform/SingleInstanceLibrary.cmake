# The single-instance marker needs no toolkit: the window program and termix-cli (which must not
# write the glossary while the window program holds it) both link it, also without the GUI.
if(WIN32)
  add_library(termix_single_instance STATIC ${CMAKE_CURRENT_LIST_DIR}/win/SingleInstanceWin.cpp)
else()
  add_library(termix_single_instance STATIC
              ${CMAKE_CURRENT_LIST_DIR}/posix/SingleInstancePosix.cpp)
endif()
