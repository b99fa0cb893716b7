# The libraries for the web build, built for wasm by scripts/web.sh into
# build/web/deps (KIVA_WEB_DEPS): the same imported targets as the Linux
# build gets from the system, found the same way.
#
#   find_package: ZLIB::ZLIB, PNG::PNG, Freetype::Freetype, JPEG::JPEG
#   pkg-config:   pkg_check_modules(... freetype2 / libpng16 / libjpeg / zlib)
#                 reads only the .pc files of KIVA_WEB_DEPS
#
# Nothing of the host's (x86-64) libraries or .pc files can be found instead:
# a target found elsewhere stops the configuration.
include_guard(GLOBAL)

if(NOT EMSCRIPTEN)
  message(FATAL_ERROR "web-deps.cmake is for the web build (emcmake cmake ...)")
endif()

set(KIVA_WEB_DEPS ${CMAKE_CURRENT_LIST_DIR}/../build/web/deps CACHE PATH
  "Install folder of the libraries built for wasm (made by scripts/web.sh)")
get_filename_component(KIVA_WEB_DEPS "${KIVA_WEB_DEPS}" ABSOLUTE)
if(NOT EXISTS ${KIVA_WEB_DEPS}/lib/libfreetype.a)
  message(FATAL_ERROR "The web build needs the libraries built for wasm in ${KIVA_WEB_DEPS}, "
    "which are missing. Run scripts/web.sh first.")
endif()

# Emscripten's toolchain searches only below CMAKE_FIND_ROOT_PATH, and
# pkg-config reads only PKG_CONFIG_LIBDIR.
list(PREPEND CMAKE_FIND_ROOT_PATH ${KIVA_WEB_DEPS})
set(ENV{PKG_CONFIG_LIBDIR} ${KIVA_WEB_DEPS}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")

find_package(ZLIB REQUIRED)
find_package(PNG REQUIRED)
find_package(Freetype REQUIRED)
find_package(JPEG REQUIRED)
# FreeType reads compressed fonts with zlib; a static FreeType needs it
# named at the link.
set_property(TARGET Freetype::Freetype APPEND PROPERTY INTERFACE_LINK_LIBRARIES ZLIB::ZLIB)

foreach(_target ZLIB::ZLIB PNG::PNG Freetype::Freetype JPEG::JPEG)
  get_target_property(_location ${_target} LOCATION)
  string(FIND "${_location}" "${KIVA_WEB_DEPS}/" _at)
  if(NOT _at EQUAL 0)
    message(FATAL_ERROR "${_target} was found at ${_location}, outside ${KIVA_WEB_DEPS}")
  endif()
  # Seen by every folder, not only the one that included this file first.
  set_target_properties(${_target} PROPERTIES IMPORTED_GLOBAL TRUE)
endforeach()
