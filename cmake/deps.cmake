# Imported targets for the libraries scripts/setup.sh cross-builds:
#   vx::jpeg  libjpeg-turbo's libjpeg.a
#   vx::png   libpng16.a, with zlib from Debian's mingw-w64 zlib package
# Only for the Windows builds; the triplet comes from the toolchain file.
include_guard(GLOBAL)

if(NOT DEFINED TRIPLET)
  message(FATAL_ERROR "deps.cmake: TRIPLET is not set; configure with "
    "cmake/toolchain-i686-w64-mingw32.cmake or cmake/toolchain-x86_64-w64-mingw32.cmake")
endif()

# The same key as DEPS_KEY in scripts/setup.sh.
set(VX_DEPS_PREFIX "/opt/vorlandix-deps/jpeg-2.1.5-2_png-1.6.39-2+deb12u5_r2"
  CACHE PATH "Where scripts/setup.sh installed the cross-built libraries (one folder per triplet)")
set(_vx_deps "${VX_DEPS_PREFIX}/${TRIPLET}")

if(NOT EXISTS "${_vx_deps}/.complete")
  message(FATAL_ERROR "deps.cmake: no finished cross-built libraries in ${_vx_deps}; "
    "run scripts/setup.sh as root (or set VX_DEPS_PREFIX)")
endif()

# Absolute paths: the toolchain's find root would hide this prefix from find_library.
set(_vx_zlib "/usr/${TRIPLET}/lib/libz.a")
foreach(_f "${_vx_deps}/lib/libjpeg.a" "${_vx_deps}/lib/libpng16.a" "${_vx_zlib}"
           "${_vx_deps}/include/jpeglib.h" "${_vx_deps}/include/libpng16/png.h")
  if(NOT EXISTS "${_f}")
    message(FATAL_ERROR "deps.cmake: ${_f} is missing; run scripts/setup.sh as root")
  endif()
endforeach()

add_library(vx::zlib STATIC IMPORTED)
set_target_properties(vx::zlib PROPERTIES IMPORTED_LOCATION "${_vx_zlib}")

add_library(vx::jpeg STATIC IMPORTED)
set_target_properties(vx::jpeg PROPERTIES
  IMPORTED_LOCATION "${_vx_deps}/lib/libjpeg.a"
  INTERFACE_INCLUDE_DIRECTORIES "${_vx_deps}/include")

add_library(vx::png STATIC IMPORTED)
set_target_properties(vx::png PROPERTIES
  IMPORTED_LOCATION "${_vx_deps}/lib/libpng16.a"
  INTERFACE_INCLUDE_DIRECTORIES "${_vx_deps}/include/libpng16"
  INTERFACE_LINK_LIBRARIES vx::zlib)

# doctest is header-only; the cross compilers do not search /usr/include, so
# expose just its folder through a symlink in the build tree.
set(_vx_doctest_dir "${CMAKE_BINARY_DIR}/vx-doctest-include")
if(NOT EXISTS "${_vx_doctest_dir}/doctest/doctest.h")
  if(NOT EXISTS /usr/include/doctest/doctest.h)
    message(FATAL_ERROR "deps.cmake: /usr/include/doctest/doctest.h missing; run scripts/setup.sh as root")
  endif()
  file(MAKE_DIRECTORY "${_vx_doctest_dir}")
  file(CREATE_LINK /usr/include/doctest "${_vx_doctest_dir}/doctest" SYMBOLIC)
endif()
# The default (win32 thread model) mingw-w64 compilers have no std::mutex.
add_library(vx::doctest INTERFACE IMPORTED)
set_target_properties(vx::doctest PROPERTIES
  INTERFACE_COMPILE_DEFINITIONS DOCTEST_CONFIG_NO_MULTITHREADING
  INTERFACE_SYSTEM_INCLUDE_DIRECTORIES "${_vx_doctest_dir}"
  INTERFACE_INCLUDE_DIRECTORIES "${_vx_doctest_dir}")
