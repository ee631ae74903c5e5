# Host build: the portable parts against the run-time double, for unit tests.
find_path(DOCTEST_INCLUDE doctest/doctest.h REQUIRED)

add_library(vx_host STATIC ${PORTABLE_SOURCES} tests/host/runtime_double.cpp assets/payload.S
  assets/pictures.S)
target_include_directories(vx_host PUBLIC ${CMAKE_SOURCE_DIR})
set_source_files_properties(assets/payload.S PROPERTIES
  COMPILE_DEFINITIONS "PAYLOAD_FILE=\"${CMAKE_SOURCE_DIR}/tests/fixtures/payload.bin\""
  OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fixtures/payload.bin)
set_source_files_properties(assets/pictures.S PROPERTIES
  COMPILE_OPTIONS "-Wa,-I${CMAKE_SOURCE_DIR}/assets/pictures")
target_include_directories(vx_host PRIVATE ${CMAKE_SOURCE_DIR}/assets)

add_executable(host-tests tests/host/main.cpp tests/host/texts_test.cpp tests/host/flow_test.cpp
  tests/host/properties_test.cpp)
target_link_libraries(host-tests vx_host)
target_include_directories(host-tests PRIVATE ${DOCTEST_INCLUDE})
add_test(NAME host-tests COMMAND host-tests)

include(effects/effects.cmake)
