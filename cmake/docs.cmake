# The HTML reference of graphics.h (docs/Doxyfile), made by Doxygen when it
# is installed, into <build>/docs/html, and installed beside the library into
# share/doc/kiva/html (so also into the Debian package and the Windows zip
# that CPack makes). Without Doxygen the library builds and installs all the
# same, without the reference.
include_guard(GLOBAL)
find_program(KIVA_DOXYGEN doxygen DOC "Doxygen, which makes the HTML reference of graphics.h")
if(NOT KIVA_DOXYGEN)
  message(STATUS "Doxygen not found: the HTML reference of graphics.h is neither made nor installed")
  return()
endif()

# docs/Doxyfile as it is, written into this build folder instead of
# build/docs of the checkout.
set(_kiva_docs ${PROJECT_BINARY_DIR}/docs)
file(WRITE ${_kiva_docs}/Doxyfile.build
  "@INCLUDE = ${PROJECT_SOURCE_DIR}/docs/Doxyfile\nOUTPUT_DIRECTORY = ${_kiva_docs}\n")
add_custom_command(
  OUTPUT ${_kiva_docs}/html/index.html
  COMMAND ${KIVA_DOXYGEN} ${_kiva_docs}/Doxyfile.build
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  DEPENDS ${PROJECT_SOURCE_DIR}/docs/Doxyfile ${PROJECT_SOURCE_DIR}/docs/reference.css
          ${PROJECT_SOURCE_DIR}/docs/cheatsheet.md ${PROJECT_SOURCE_DIR}/graphics/graphics.h
  COMMENT "The HTML reference of graphics.h (Doxygen)"
  VERBATIM)
add_custom_target(kiva_docs ALL DEPENDS ${_kiva_docs}/html/index.html)
install(DIRECTORY ${_kiva_docs}/html/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/html)
