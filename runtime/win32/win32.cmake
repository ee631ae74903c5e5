# The installer for Windows: the portable parts on the Win32 run time.
include(runtime/win32/picture.cmake)

set(WIN32_RUNTIME_SOURCES
  runtime/win32/toolkit.cpp
  runtime/win32/properties.cpp
  runtime/win32/services.cpp
)

# Stand-in application: a small window program, padded with overlay bytes
# to the size the installer carries.
set(PAYLOAD_SIZE 1446912)
add_executable(vorlandix-standin WIN32 assets/standin/vorlandix.cpp)
target_compile_options(vorlandix-standin PRIVATE ${PRODUCT_CXX_FLAGS})
target_link_options(vorlandix-standin PRIVATE -static -s)
set(VX_PAYLOAD "" CACHE FILEPATH "Executable to carry instead of the stand-in")
if(VX_PAYLOAD)
  set(PAYLOAD_FILE ${VX_PAYLOAD})
else()
  set(PAYLOAD_FILE ${CMAKE_BINARY_DIR}/payload/Vorlandix.exe)
  add_custom_command(OUTPUT ${PAYLOAD_FILE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/payload
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:vorlandix-standin> ${PAYLOAD_FILE}
    COMMAND truncate -s ${PAYLOAD_SIZE} ${PAYLOAD_FILE}
    DEPENDS vorlandix-standin VERBATIM)
endif()
add_custom_target(payload DEPENDS ${PAYLOAD_FILE})

# Everything but the process entry and the region calls, so Windows-side
# tests can link it with the real region calls (vx_win) or their own.
add_library(vx_win_core OBJECT ${PORTABLE_SOURCES} ${WIN32_RUNTIME_SOURCES} assets/payload.S)
set_source_files_properties(assets/payload.S PROPERTIES
  COMPILE_DEFINITIONS "PAYLOAD_FILE=\"${PAYLOAD_FILE}\""
  OBJECT_DEPENDS ${PAYLOAD_FILE})
add_dependencies(vx_win_core payload)
target_include_directories(vx_win_core PUBLIC ${CMAKE_SOURCE_DIR} PRIVATE ${CMAKE_SOURCE_DIR}/assets)
set(PRODUCT_COMPILE_OPTIONS
  $<$<COMPILE_LANGUAGE:CXX>:${PRODUCT_CXX_FLAGS} -ffunction-sections -fdata-sections>)
# Without exceptions nothing reads i686's DWARF unwind tables; x86_64 keeps
# its SEH tables, which longjmp out of the picture decoders needs.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86")
  list(APPEND PRODUCT_COMPILE_OPTIONS $<$<COMPILE_LANGUAGE:CXX>:-fno-asynchronous-unwind-tables>)
endif()
target_compile_options(vx_win_core PRIVATE ${PRODUCT_COMPILE_OPTIONS})
target_link_libraries(vx_win_core PUBLIC vx_picture ole32 shell32 gdi32 user32)

# The window pictures from a folder: assets/pictures for the product.
function(vx_pictures name folder)
  add_library(${name} OBJECT ${CMAKE_SOURCE_DIR}/assets/pictures.S)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/assets)
  target_compile_options(${name} PRIVATE "-Wa,-I${folder}")
  file(GLOB files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/pictures/*)
  set_property(SOURCE ${CMAKE_SOURCE_DIR}/assets/pictures.S APPEND PROPERTY OBJECT_DEPENDS ${files})
endfunction()
vx_pictures(vx_pictures ${CMAKE_SOURCE_DIR}/assets/pictures)

add_library(vx_win STATIC runtime/win32/regions.cpp)
target_compile_options(vx_win PRIVATE ${PRODUCT_COMPILE_OPTIONS})
target_link_libraries(vx_win PUBLIC vx_win_core vx_pictures)

# The installer: the process entry and resources on a run time library.
function(vx_installer name runtime)
  add_executable(${name} WIN32 ${CMAKE_SOURCE_DIR}/runtime/win32/main.cpp
    ${CMAKE_SOURCE_DIR}/assets/installer.rc)
  target_link_libraries(${name} PRIVATE ${runtime})
  target_compile_options(${name} PRIVATE ${PRODUCT_COMPILE_OPTIONS})
  target_link_options(${name} PRIVATE -static -s -Wl,--gc-sections
    -Wl,--dynamicbase -Wl,--nxcompat)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    target_link_options(${name} PRIVATE -Wl,--high-entropy-va)
  endif()
  target_include_directories(${name} PRIVATE $<$<COMPILE_LANGUAGE:RC>:${CMAKE_SOURCE_DIR}/assets>)
endfunction()
vx_installer(vorlandix-setup vx_win)
set_property(SOURCE assets/installer.rc APPEND PROPERTY OBJECT_DEPENDS
  ${CMAKE_SOURCE_DIR}/assets/installer.manifest ${CMAKE_SOURCE_DIR}/assets/version.rc
  ${CMAKE_SOURCE_DIR}/assets/app_icon.ico)
