# The effects benchmark: a Windows program for the x86_64 tree, run by
# bench/effects.sh under wine64; built with the tree so it keeps compiling,
# never registered as a test.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  add_executable(effects-bench bench/effects.cpp)
  target_link_libraries(effects-bench PRIVATE vx_win_own_regions)
  target_link_options(effects-bench PRIVATE -static)
endif()
