# Window shape effects on the host: the region model behind effects/regions.h
# (linked into vx_host, whose effect code calls it), the designer's preview
# tool and the effect tests. Included from tests/host/host.cmake after vx_host.
find_package(PNG REQUIRED)

add_library(vx_region_model STATIC effects/region_model.cpp)
target_include_directories(vx_region_model PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(vx_host PUBLIC vx_region_model)

add_executable(effect-frames effects/effect_frames.cpp)
target_link_libraries(effect-frames vx_host PNG::PNG)

add_executable(effect-tests tests/host/main.cpp tests/host/effects/effects_test.cpp
  tests/host/effects/region_model_test.cpp)
target_link_libraries(effect-tests vx_host)
target_include_directories(effect-tests PRIVATE ${DOCTEST_INCLUDE})
add_test(NAME effect-tests COMMAND effect-tests)

# The preview tool's text output, compared with the expected files; each
# file's name spells its case. tests/win/win.cmake checks the regions the
# Windows build shows against the same files.
file(GLOB _vx_frame_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/host/effects/frames/*.txt)
foreach(_file ${_vx_frame_files})
  get_filename_component(case ${_file} NAME_WE)
  add_test(NAME effect-frames-${case} COMMAND ${CMAKE_COMMAND} -DTOOL=$<TARGET_FILE:effect-frames>
    -DCASE=${case} -DEXPECTED=${_file}
    -P ${CMAKE_SOURCE_DIR}/tests/host/effects/compare_frames.cmake)
endforeach()
