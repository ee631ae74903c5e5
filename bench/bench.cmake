# The programs bench/run.sh measures; built with the trees so they keep
# compiling, never registered as tests.

# The reference window program, built as the installer is (both trees: its
# size is compared in each).
add_executable(minimal-window WIN32 bench/minimal_window.cpp)
target_compile_options(minimal-window PRIVATE ${PRODUCT_COMPILE_OPTIONS})
target_link_options(minimal-window PRIVATE -static -s -Wl,--gc-sections -Wl,--dynamicbase -Wl,--nxcompat)

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  # The same program writing the time of its first paint.
  add_executable(minimal-window-bench WIN32 bench/minimal_window.cpp)
  target_compile_definitions(minimal-window-bench PRIVATE VX_BENCH)
  target_include_directories(minimal-window-bench PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_options(minimal-window-bench PRIVATE ${PRODUCT_COMPILE_OPTIONS})
  target_link_options(minimal-window-bench PRIVATE -static -s)

  # The installer writing the time of every effect frame (bench/frame_marks.cpp).
  vx_installer(vorlandix-setup-bench vx_win_own_regions)
  target_sources(vorlandix-setup-bench PRIVATE bench/frame_marks.cpp)

  add_executable(install-step-bench bench/install_step.cpp)
  target_link_libraries(install-step-bench PRIVATE vx_win)
  target_link_options(install-step-bench PRIVATE -static)
endif()
