# Provides the targets PNG::PNG and ZLIB::ZLIB, the libpng and zlib the
# graphics library reads and writes PNG files with.
#
# Linux (and the web build, whose copies scripts/web.sh builds): the
# system's libpng 1.6 and zlib (Debian's libpng-dev and zlib1g-dev).
# Windows (MinGW-w64 cross build), and the fuzz build (KIVA_BUILD_FUZZERS):
# Debian's own zlib and libpng1.6 sources, which scripts/install-deps.sh
# fetches beforehand (scripts/fetch-windows-sources.sh, into build/deps/zlib
# and build/deps/libpng1.6), compiled here as static libraries from their C
# files: with the cross compiler, there being no packaged MinGW libpng; with
# clang, libFuzzer's coverage feedback and AddressSanitizer, so that the
# fuzzers see into the decoder. Both builds thus run the same version of
# both libraries, and a picture saved on either is the same bytes. The build
# only compiles those folders; it fetches nothing. Nothing of that source
# lives in the project.
include_guard(GLOBAL)

if(EMSCRIPTEN)
  # cmake/web-deps.cmake found the web build's copies, seen by every folder.
  return()
endif()
if(NOT WIN32 AND NOT KIVA_BUILD_FUZZERS)
  find_package(PNG REQUIRED)
  # Seen by every folder, not only the one that included this file first.
  set_target_properties(PNG::PNG ZLIB::ZLIB PROPERTIES IMPORTED_GLOBAL TRUE)
  return()
endif()

set(KIVA_ZLIB_SOURCE_DIR ${PROJECT_SOURCE_DIR}/build/deps/zlib CACHE PATH
  "zlib source folder for the Windows and fuzz builds (made by scripts/fetch-windows-sources.sh)")
set(KIVA_LIBPNG_SOURCE_DIR ${PROJECT_SOURCE_DIR}/build/deps/libpng1.6 CACHE PATH
  "libpng source folder for the Windows and fuzz builds (made by scripts/fetch-windows-sources.sh)")
foreach(_png_check ${KIVA_ZLIB_SOURCE_DIR}/zlib.h ${KIVA_LIBPNG_SOURCE_DIR}/png.h
    ${KIVA_LIBPNG_SOURCE_DIR}/scripts/pnglibconf.h.prebuilt)
  if(NOT EXISTS ${_png_check})
    message(FATAL_ERROR
      "The Windows and fuzz builds need Debian's zlib and libpng1.6 sources in ${KIVA_ZLIB_SOURCE_DIR} "
      "and ${KIVA_LIBPNG_SOURCE_DIR}; ${_png_check} is missing. Run scripts/install-deps.sh test "
      "(or scripts/fetch-windows-sources.sh) first, or point KIVA_ZLIB_SOURCE_DIR and "
      "KIVA_LIBPNG_SOURCE_DIR at unpacked source folders.")
  endif()
endforeach()

# The libraries' own code is compiled without this project's warnings and,
# in the fuzz build, without UndefinedBehaviorSanitizer: their arithmetic is
# not ours to judge, their memory accesses and paths are what the fuzzers
# watch.
function(kiva_third_party_options target)
  set_target_properties(${target} PROPERTIES COMPILE_OPTIONS "" POSITION_INDEPENDENT_CODE OFF
    C_VISIBILITY_PRESET default)
  if(KIVA_BUILD_FUZZERS)
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link,address -fno-omit-frame-pointer -g)
  endif()
  target_compile_options(${target} PRIVATE -O2 -w)
  target_compile_definitions(${target} PRIVATE NDEBUG)
endfunction()

# Built here, but imported under the names the system's packages give them
# (as JPEG::JPEG is): the installed library's link names them as files.
set(_png_out ${CMAKE_BINARY_DIR}/_deps/lib)
function(kiva_import_built name target)
  set_target_properties(${target} PROPERTIES ARCHIVE_OUTPUT_DIRECTORY ${_png_out} OUTPUT_NAME ${target})
  add_library(${name} STATIC IMPORTED GLOBAL)
  set_target_properties(${name} PROPERTIES
    IMPORTED_LOCATION ${_png_out}/${CMAKE_STATIC_LIBRARY_PREFIX}${target}${CMAKE_STATIC_LIBRARY_SUFFIX}
    INTERFACE_INCLUDE_DIRECTORIES "${ARGN}")
  add_dependencies(${name} ${target})
endfunction()

# zlib: its files compiled directly (Debian's source lacks the Windows
# resources its CMake build refers to). libpng needs no gzip files.
set(_zlib_files adler32 compress crc32 deflate infback inffast inflate inftrees trees uncompr zutil)
list(TRANSFORM _zlib_files PREPEND ${KIVA_ZLIB_SOURCE_DIR}/)
list(TRANSFORM _zlib_files APPEND .c)
add_library(kiva_zlib STATIC ${_zlib_files})
kiva_third_party_options(kiva_zlib)
kiva_import_built(ZLIB::ZLIB kiva_zlib ${KIVA_ZLIB_SOURCE_DIR})

# libpng with its own default configuration (pnglibconf.h.prebuilt), no
# processor-specific filter code: the same code on every build.
set(_png_conf ${CMAKE_BINARY_DIR}/_deps/libpng)
configure_file(${KIVA_LIBPNG_SOURCE_DIR}/scripts/pnglibconf.h.prebuilt ${_png_conf}/pnglibconf.h COPYONLY)
set(_png_files png pngerror pngget pngmem pngpread pngread pngrio pngrtran pngrutil pngset pngtrans pngwio
  pngwrite pngwtran pngwutil)
list(TRANSFORM _png_files PREPEND ${KIVA_LIBPNG_SOURCE_DIR}/)
list(TRANSFORM _png_files APPEND .c)
add_library(kiva_png STATIC ${_png_files})
kiva_third_party_options(kiva_png)
target_compile_definitions(kiva_png PRIVATE PNG_ARM_NEON_OPT=0 PNG_MIPS_MSA_OPT=0 PNG_POWERPC_VSX_OPT=0)
target_include_directories(kiva_png PRIVATE ${KIVA_LIBPNG_SOURCE_DIR} ${_png_conf} ${KIVA_ZLIB_SOURCE_DIR})
kiva_import_built(PNG::PNG kiva_png ${KIVA_LIBPNG_SOURCE_DIR} ${_png_conf} ${KIVA_ZLIB_SOURCE_DIR})
set_target_properties(PNG::PNG PROPERTIES INTERFACE_LINK_LIBRARIES ZLIB::ZLIB)
