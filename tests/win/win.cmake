# Windows-side tests. Both Windows trees build them; only the x86_64 tree
# registers them, because only 64-bit code runs here (under wine64, set as
# CMAKE_CROSSCOMPILING_EMULATOR by scripts/build.sh).
include(${PROJECT_SOURCE_DIR}/cmake/deps.cmake)
include(${PROJECT_SOURCE_DIR}/cmake/embed.cmake)
include(${PROJECT_SOURCE_DIR}/runtime/win32/picture.cmake)

set(VX_TESTS_RUN_HERE OFF)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(VX_TESTS_RUN_HERE ON)
endif()

# vx_win_test(<name> SOURCES <files...> [LIBRARIES <targets...>])
# A doctest executable, linked statically so Wine needs no MinGW DLLs.
function(vx_win_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;LIBRARIES")
  add_executable(${name} ${arg_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${CMAKE_BINARY_DIR}/embedded)
  target_link_libraries(${name} PRIVATE vx::doctest ${arg_LIBRARIES})
  target_link_options(${name} PRIVATE -static)
  if(VX_TESTS_RUN_HERE)
    add_test(NAME win.${name} COMMAND ${name})
    set_tests_properties(win.${name} PROPERTIES LABELS win TIMEOUT 120)
  endif()
endfunction()

# --- unit tests ---
set(_vx_fixture_headers)
foreach(_f quadrants.jpg quadrants-progressive.jpg grey.jpg rgba.png palette.png grey16-interlaced.png)
  string(MAKE_C_IDENTIFIER "fixture_${_f}" _symbol)
  vx_embed_file(_header ${_symbol} ${PROJECT_SOURCE_DIR}/tests/fixtures/${_f})
  list(APPEND _vx_fixture_headers ${_header})
endforeach()
vx_win_test(decode_test SOURCES tests/win/decode_test.cpp ${_vx_fixture_headers} LIBRARIES vx_picture)

# --- end-to-end tests ---
# A stand-in window program for the harness's own smoke test.
add_executable(smoke_window WIN32 tests/win/smoke_window.cpp tests/win/smoke_window.rc)
target_link_options(smoke_window PRIVATE -static)
set_property(SOURCE tests/win/smoke_window.rc APPEND PROPERTY OBJECT_DEPENDS
  ${PROJECT_SOURCE_DIR}/tests/win/smoke_window.manifest)

if(VX_TESTS_RUN_HERE)
  if(TARGET vorlandix-setup)
    set(_vx_installer $<TARGET_FILE:vorlandix-setup>)
  else()
    set(_vx_installer "")
  endif()
  # Every tests/e2e/test_*.py is one test with its own display and prefix.
  file(GLOB _vx_e2e_scripts CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/e2e/test_*.py)
  foreach(_script ${_vx_e2e_scripts})
    get_filename_component(_name ${_script} NAME_WE)
    add_test(NAME e2e.${_name}
      COMMAND /usr/bin/python3 ${_script}
        --installer=${_vx_installer}
        --smoke-window=$<TARGET_FILE:smoke_window>
        --build=${CMAKE_BINARY_DIR}
        --screens=${CMAKE_BINARY_DIR}/e2e-screens/${_name}
        --work=${CMAKE_BINARY_DIR}/e2e-work/${_name})
    set_tests_properties(e2e.${_name} PROPERTIES LABELS e2e TIMEOUT 300)
  endforeach()
endif()

# --- the installer's file and shell services ---
vx_win_test(services_test SOURCES tests/win/services_test.cpp LIBRARIES vx_win uuid)
# Reads message box texts for the install tests.
add_executable(box_text tests/win/box_text.cpp)
target_link_options(box_text PRIVATE -static)

# --- the window shape effects on real windows ---
# vx_win with its region seam hooked, for the programs that watch the
# effects run: the product's region calls, compiled under other names, are
# wrapped by tests/win/hooked_regions.cpp.
add_library(vx_renamed_regions OBJECT runtime/win32/regions.cpp)
target_include_directories(vx_renamed_regions PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_definitions(vx_renamed_regions PRIVATE SetWindowRegion=RealSetWindowRegion Pause=RealPause)
add_library(vx_win_own_regions STATIC tests/win/hooked_regions.cpp)
target_link_libraries(vx_win_own_regions PUBLIC vx_win_core vx_pictures vx_renamed_regions)

# Each frame's region as the window system keeps it, printed as the host's
# effect-frames prints it, and compared with the same expected files.
add_executable(effect-regions tests/win/effect_regions.cpp)
target_link_libraries(effect-regions PRIVATE vx_win_own_regions)
target_link_options(effect-regions PRIVATE -static)
if(VX_TESTS_RUN_HERE)
  file(GLOB _vx_frame_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/host/effects/frames/*.txt)
  foreach(_file ${_vx_frame_files})
    get_filename_component(_case ${_file} NAME_WE)
    add_test(NAME win.effect-regions.${_case} COMMAND ${CMAKE_COMMAND}
      -DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR} -DTOOL=$<TARGET_FILE:effect-regions>
      -DCASE=${_case} -DEXPECTED=${_file} -P ${PROJECT_SOURCE_DIR}/tests/host/effects/compare_frames.cmake)
    set_tests_properties(win.effect-regions.${_case} PROPERTIES LABELS win TIMEOUT 120)
  endforeach()
endif()

# The run time on real windows, and a DLL that must not be found beside it.
add_library(vx-probe SHARED tests/win/probe_dll.cpp)
set_target_properties(vx-probe PROPERTIES PREFIX "" OUTPUT_NAME vx-probe)
target_link_options(vx-probe PRIVATE -static)
vx_win_test(runtime_test SOURCES tests/win/runtime_test.cpp LIBRARIES vx_win)
add_dependencies(runtime_test vx-probe)

# A program that misuses the run time, for the fatal-error test.
add_executable(fatal_probe WIN32 tests/win/fatal_probe.cpp)
target_link_libraries(fatal_probe PRIVATE vx_win)
target_link_options(fatal_probe PRIVATE -static)

# The installer with two pictures that cannot be decoded (the welcome banner
# and the close button's hover picture), for the fallback test.
set(_vx_broken ${CMAKE_BINARY_DIR}/broken-pictures)
add_custom_command(OUTPUT ${_vx_broken}/.complete
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/assets/pictures ${_vx_broken}
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/tests/fixtures/payload.bin ${_vx_broken}/banner_welcome.jpg
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/tests/fixtures/payload.bin ${_vx_broken}/close_hover.jpg
  COMMAND ${CMAKE_COMMAND} -E touch ${_vx_broken}/.complete)
add_custom_target(broken-pictures DEPENDS ${_vx_broken}/.complete)
vx_pictures(vx_pictures_broken ${_vx_broken})
add_dependencies(vx_pictures_broken broken-pictures)
add_library(vx_win_broken_pictures STATIC runtime/win32/regions.cpp)
target_link_libraries(vx_win_broken_pictures PUBLIC vx_win_core vx_pictures_broken)
vx_installer(vorlandix-setup-broken-pictures vx_win_broken_pictures)
