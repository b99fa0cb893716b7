# Provides the target JPEG::JPEG, the libjpeg (version 6b interface) the
# graphics library decodes pictures with and the tools and tests encode with.
#
# Linux: the system's libjpeg-turbo (Debian's libjpeg62-turbo-dev).
# The web build: the one cmake/web-deps.cmake provides.
# Windows (MinGW-w64 cross build), and the fuzz build (KIVA_BUILD_FUZZERS):
# Debian's own libjpeg-turbo source, which scripts/install-deps.sh fetches
# beforehand (scripts/fetch-windows-sources.sh, into build/deps/libjpeg-turbo),
# is built here as a static library, SIMD off: with the cross compiler, there
# being no packaged MinGW libjpeg; with clang and libFuzzer's coverage
# feedback and AddressSanitizer, so that the fuzzers see into the decoder. The
# build only compiles that folder; it fetches nothing. Nothing of that source
# lives in the project.
include_guard(GLOBAL)

if(EMSCRIPTEN)
  return()  # the web build's libjpeg, from cmake/web-deps.cmake
endif()

if(NOT WIN32 AND NOT KIVA_BUILD_FUZZERS)
  find_package(JPEG REQUIRED)
  # Seen by every folder, not only the one that included this file first.
  set_target_properties(JPEG::JPEG PROPERTIES IMPORTED_GLOBAL TRUE)
  return()
endif()

include(ExternalProject)

set(KIVA_LIBJPEG_SOURCE_DIR ${PROJECT_SOURCE_DIR}/build/deps/libjpeg-turbo CACHE PATH
  "libjpeg-turbo source folder for the Windows and fuzz builds (made by scripts/fetch-windows-sources.sh)")
set(_jpeg_src ${KIVA_LIBJPEG_SOURCE_DIR})
if(NOT EXISTS ${_jpeg_src}/jpeglib.h OR NOT EXISTS ${_jpeg_src}/CMakeLists.txt)
  message(FATAL_ERROR
    "The Windows and fuzz builds need Debian's libjpeg-turbo source in ${_jpeg_src}, which is missing. "
    "Run scripts/install-deps.sh (or scripts/fetch-windows-sources.sh) first, "
    "or point KIVA_LIBJPEG_SOURCE_DIR at an unpacked libjpeg-turbo source folder.")
endif()
set(_jpeg_bin ${CMAKE_BINARY_DIR}/_deps/libjpeg-turbo-build)
set(_jpeg_out ${CMAKE_BINARY_DIR}/_deps/libjpeg-turbo)
set(_jpeg_lib ${_jpeg_out}/lib/libjpeg.a)
file(MAKE_DIRECTORY ${_jpeg_out}/include ${_jpeg_out}/lib)

# The toolchain file as CMake found it (a relative one is looked for in the
# build folder, then in the source folder): the library's own configure runs
# in another folder, where a relative path would name nothing.
set(_jpeg_toolchain "${CMAKE_TOOLCHAIN_FILE}")
if(_jpeg_toolchain AND NOT IS_ABSOLUTE "${_jpeg_toolchain}")
  if(EXISTS "${CMAKE_BINARY_DIR}/${_jpeg_toolchain}")
    set(_jpeg_toolchain "${CMAKE_BINARY_DIR}/${_jpeg_toolchain}")
  else()
    set(_jpeg_toolchain "${CMAKE_SOURCE_DIR}/${_jpeg_toolchain}")
  endif()
endif()

if(WIN32)
  set(_jpeg_compiler -DCMAKE_TOOLCHAIN_FILE=${_jpeg_toolchain})
else()
  # Not UndefinedBehaviorSanitizer: the decoder's own arithmetic is not ours
  # to judge, its memory accesses and its paths are what the fuzzers watch.
  set(_jpeg_compiler -DCMAKE_C_COMPILER=${CMAKE_C_COMPILER} -DCMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER}
    "-DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link,address -fno-omit-frame-pointer -g")
endif()

ExternalProject_Add(libjpeg_turbo_source
  SOURCE_DIR ${_jpeg_src}
  BINARY_DIR ${_jpeg_bin}
  DOWNLOAD_COMMAND ""
  UPDATE_COMMAND ""
  PATCH_COMMAND ""
  CMAKE_ARGS
    ${_jpeg_compiler}
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX=${_jpeg_out}
    -DWITH_SIMD=OFF
    -DENABLE_SHARED=OFF
    -DENABLE_STATIC=ON
    -DWITH_TURBOJPEG=OFF
    -DWITH_JPEG8=OFF
    -DCMAKE_POSITION_INDEPENDENT_CODE=OFF
  BUILD_COMMAND ${CMAKE_COMMAND} --build ${_jpeg_bin} --target jpeg-static
  INSTALL_COMMAND
    ${CMAKE_COMMAND} -E copy ${_jpeg_bin}/libjpeg.a ${_jpeg_lib}
    COMMAND ${CMAKE_COMMAND} -E copy
      ${_jpeg_src}/jpeglib.h ${_jpeg_src}/jmorecfg.h ${_jpeg_src}/jerror.h
      ${_jpeg_bin}/jconfig.h ${_jpeg_out}/include/
  BUILD_BYPRODUCTS ${_jpeg_lib}
  LOG_CONFIGURE ON
  LOG_BUILD ON
  LOG_OUTPUT_ON_FAILURE ON)

add_library(JPEG::JPEG STATIC IMPORTED GLOBAL)
set_target_properties(JPEG::JPEG PROPERTIES
  IMPORTED_LOCATION ${_jpeg_lib}
  INTERFACE_INCLUDE_DIRECTORIES ${_jpeg_out}/include)
add_dependencies(JPEG::JPEG libjpeg_turbo_source)
