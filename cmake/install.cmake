# What `cmake --install` puts into the prefix, and the packages CPack makes
# of it (a Debian package on Linux, a zip with the MinGW-w64 build):
#   include/kiva/graphics.h                the library's one header, in a
#                                           folder of its own
#   lib/libkiva_graphics.a                 the library
#   lib/libkiva_platform.a                 (Linux) the Win32 subset under it
#   lib/libkiva_jpeg.a                     (Windows) the libjpeg it decodes with
#   lib/libkiva_png.a, libkiva_zlib.a      (Windows) the libpng and zlib it reads
#                                           and writes PNG files with
#   share/kiva/kiva-utf8.rc, .manifest     (Windows) UTF-8 code page manifest
#   lib/cmake/kiva/kivaConfig.cmake ...    find_package(kiva CONFIG): kiva::graphics
#   lib/pkgconfig/kiva-graphics.pc         pkg-config --cflags --libs kiva-graphics
#   share/doc/kiva/html/index.html         the reference of graphics.h, when
#                                           Doxygen is installed (cmake/docs.cmake)
# Both the CMake package and the pkg-config file find their prefix from
# where they lie, so an unpacked package works wherever it is unpacked.
include_guard(GLOBAL)
include(CMakePackageConfigHelpers)

set(_kiva_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/kiva)
set(_kiva_targets kiva_graphics)
if(NOT WIN32)
  list(APPEND _kiva_targets kiva_platform)
endif()
install(TARGETS ${_kiva_targets} EXPORT kivaTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${PROJECT_SOURCE_DIR}/graphics/graphics.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/kiva)
if(TARGET kiva_print)
  # The printing module the platform loads on the first print.
  install(TARGETS kiva_print LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/kiva)
endif()
install(EXPORT kivaTargets NAMESPACE kiva:: DESTINATION ${_kiva_cmake_dir})

if(WIN32)
  # The libjpeg built for the cross build goes along under a name of its own.
  get_target_property(_jpeg_lib JPEG::JPEG IMPORTED_LOCATION)
  install(FILES ${_jpeg_lib} DESTINATION ${CMAKE_INSTALL_LIBDIR} RENAME libkiva_jpeg.a)
  # libpng and zlib, built here from Debian's sources, go along too.
  get_target_property(_png_lib PNG::PNG IMPORTED_LOCATION)
  get_target_property(_zlib_lib ZLIB::ZLIB IMPORTED_LOCATION)
  install(FILES ${_png_lib} ${_zlib_lib} DESTINATION ${CMAKE_INSTALL_LIBDIR})
  # The UTF-8 application manifest and a resource script that names it
  # beside itself (windres kiva-utf8.rc -O coff -o kiva-utf8.o).
  install(FILES ${PROJECT_SOURCE_DIR}/graphics/utf8.manifest DESTINATION ${CMAKE_INSTALL_DATADIR}/kiva
    RENAME kiva-utf8.manifest)
  file(WRITE ${PROJECT_BINARY_DIR}/kiva-utf8.rc
    "// UTF-8 as the program's code page: windres kiva-utf8.rc -O coff -o kiva-utf8.o\n1 24 \"kiva-utf8.manifest\"\n")
  install(FILES ${PROJECT_BINARY_DIR}/kiva-utf8.rc DESTINATION ${CMAKE_INSTALL_DATADIR}/kiva)
  set(KIVA_PC_REQUIRES "")
  set(KIVA_PC_LIBS "-lkiva_graphics -lkiva_jpeg -lkiva_png -lkiva_zlib -lgdi32 -luser32 -lwinmm -lcomdlg32")
else()
  set(KIVA_PC_REQUIRES "sdl2 x11 freetype2 fontconfig libjpeg libpng16 zlib")
  set(KIVA_PC_LIBS "-lkiva_graphics -lkiva_platform")
endif()

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/kivaConfig.cmake.in
  ${PROJECT_BINARY_DIR}/kivaConfig.cmake INSTALL_DESTINATION ${_kiva_cmake_dir})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/kivaConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/kivaConfig.cmake ${PROJECT_BINARY_DIR}/kivaConfigVersion.cmake
  DESTINATION ${_kiva_cmake_dir})

# The pkg-config file's prefix, relative to the folder it lies in.
file(RELATIVE_PATH KIVA_PC_PREFIX_FROM_PCFILEDIR /p/${CMAKE_INSTALL_LIBDIR}/pkgconfig /p)
configure_file(${CMAKE_CURRENT_LIST_DIR}/kiva-graphics.pc.in ${PROJECT_BINARY_DIR}/kiva-graphics.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/kiva-graphics.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

include(${CMAKE_CURRENT_LIST_DIR}/docs.cmake)

# Packages: `cpack` in the build folder.
set(CPACK_PACKAGE_NAME kiva-graphics-dev)
set(CPACK_PACKAGE_VENDOR "kiva")
set(CPACK_PACKAGE_CONTACT "kiva developers <kiva@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "graphics.h: a small graphics library for teaching-style programs")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME mingw-w64-x86_64)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION libdevel)
  # A static library: a program links SDL2, Xlib, FreeType, fontconfig and
  # libjpeg, libpng and zlib itself, so their development packages come
  # along.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libsdl2-dev, libx11-dev, libfreetype-dev | libfreetype6-dev, libfontconfig-dev | libfontconfig1-dev, libjpeg-dev, libpng-dev, zlib1g-dev, pkg-config")
endif()
include(CPack)
