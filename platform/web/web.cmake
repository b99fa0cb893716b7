# The platform of the web build (emcmake, cmake/web.cmake): the same
# services and raster engine, with the page as the display
# (src/display_web.cpp and page.js), the sleep on the browser's clock
# (src/pause_web.cpp), message steps that read the clock every time
# (src/tick_web.cpp: no thread of ours runs in the page), the face files
# embedded in every program with their lookup table
# (src/font_lookup_web.cpp), printing linked in
# (src/print_web.cpp: PDF files and downloads). No SDL, X11, fontconfig,
# GTK, cairo or CUPS.
file(GLOB PLATFORM_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/src/*.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/src/raster/*.cpp)
list(FILTER PLATFORM_SOURCES EXCLUDE REGEX "/(display_sdl[^/]*|pause|tick|font_lookup_fontconfig)\\.cpp$")
add_library(kiva_platform STATIC ${PLATFORM_SOURCES})
add_library(kiva::platform ALIAS kiva_platform)
target_include_directories(kiva_platform
  PUBLIC $<BUILD_INTERFACE:${CMAKE_CURRENT_SOURCE_DIR}/include>
  PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src ${CMAKE_CURRENT_SOURCE_DIR}/web ${PROJECT_SOURCE_DIR}/base)
target_compile_features(kiva_platform PUBLIC cxx_std_17)
target_link_libraries(kiva_platform PRIVATE Freetype::Freetype ZLIB::ZLIB)
kiva_use_base(kiva_platform)  # PDF files replaced safely (print_web.cpp)
# The platform neither throws nor catches, and the library's window
# procedure throws nothing through it: compiled without exception handling,
# its calls are plain wasm calls, not round trips through JavaScript that
# can catch (cmake/web.cmake compiles the rest with -fexceptions). An
# exception thrown above it still passes through it to its catcher.
target_compile_options(kiva_platform PRIVATE -fno-exceptions)
target_compile_definitions(kiva_platform PRIVATE KIVA_PRINT_MODULE="" KIVA_PRINT_MODULE_INSTALLED="")

# The faces: for each family name the text service asks for (text.cpp) in
# each style, the face fontconfig gives on this machine, so that the page
# draws text with the files the Linux build draws it with. The table
# (faces.txt, read by font_lookup_web.cpp) and the faces a program can open go
# into build/web-fonts/, which every program embeds as /fonts.
set(_fonts ${CMAKE_BINARY_DIR}/web-fonts)
# Names that stand for a family byte only, never opened when the named
# faces before them exist: their answers are in the table, their files are
# not embedded.
set(_generic serif monospace cursive sans-serif kiva-no-such-family)
set(_names Arial "Times New Roman" "Courier New" "Comic Sans MS" fantasy
  "Liberation Sans" "Liberation Serif" "Liberation Mono" ${_generic})
find_program(KIVA_FC_MATCH fc-match REQUIRED)
file(REMOVE_RECURSE ${_fonts})
file(MAKE_DIRECTORY ${_fonts})
set(_table "")
set(_embedded "")
foreach(_name IN LISTS _names)
  foreach(_style "0;0" "1;0" "0;1" "1;1")
    list(GET _style 0 _bold)
    list(GET _style 1 _italic)
    set(_weight 80)
    set(_slant 0)
    if(_bold)
      set(_weight 200)
    endif()
    if(_italic)
      set(_slant 100)
    endif()
    execute_process(COMMAND ${KIVA_FC_MATCH} -f "%{file}\t%{index}\t%{family[0]}\t%{weight}\t%{slant}"
      "${_name}:weight=${_weight}:slant=${_slant}:scalable=true"
      OUTPUT_VARIABLE _found RESULT_VARIABLE _status)
    if(NOT _status EQUAL 0 OR NOT _found MATCHES "^([^\t]+)\t")
      message(FATAL_ERROR "fc-match found no face for ${_name}")
    endif()
    set(_file ${CMAKE_MATCH_1})
    get_filename_component(_base ${_file} NAME)
    string(REPLACE "${_file}" "/fonts/${_base}" _found "${_found}")
    string(APPEND _table "${_name}\t${_bold}\t${_italic}\t${_found}\n")
    if(NOT _name IN_LIST _generic AND NOT _file IN_LIST _embedded)
      list(APPEND _embedded ${_file})
      file(COPY ${_file} DESTINATION ${_fonts})
    endif()
  endforeach()
endforeach()
file(WRITE ${_fonts}/faces.txt "${_table}")

# The faces that lend characters those faces lack, for the pages that ask
# for them (kiva_add_web_page's FALLBACK_FACES): for each embedded face,
# the first face in fontconfig's nearness order with each of a set of
# characters students write (lender_faces.py), into build/web-lenders/ with
# their table, embedded as /fonts/lenders (font_lookup_web.cpp).
set(_lenders ${CMAKE_BINARY_DIR}/web-lenders)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
execute_process(COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/web/lender_faces.py ${_fonts} ${_lenders}
  /fonts/lenders RESULT_VARIABLE _status)
if(NOT _status EQUAL 0)
  message(FATAL_ERROR "lender_faces.py could not choose the faces that lend characters")
endif()
set_property(GLOBAL PROPERTY KIVA_WEB_LENDER_FACES ${_lenders})
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/web/lender_faces.py)

target_link_options(kiva_platform INTERFACE
  "SHELL:--js-library ${CMAKE_CURRENT_SOURCE_DIR}/web/page.js"
  "SHELL:--embed-file ${_fonts}@/fonts"
  # Standard input from the page's input line sleeps until a line comes.
  "-sASYNCIFY_IMPORTS=['wasi_snapshot_preview1.fd_read','kiva_wait_event','kiva_message_box']"
  # Asyncify instruments every function that makes a call through a pointer
  # (operator new's handler, sort's comparison, FreeType's drivers), and all
  # that call them, as if it could wait; asyncify-remove.txt names the code
  # that never waits: the raster engine, the allocator, sorting, FreeType's
  # and libpng's functions. Left plain, they run as fast as without Asyncify.
  "-sASYNCIFY_REMOVE=@${CMAKE_CURRENT_SOURCE_DIR}/web/asyncify-remove.txt")
set_property(TARGET kiva_platform APPEND PROPERTY INTERFACE_LINK_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/web/page.js ${CMAKE_CURRENT_SOURCE_DIR}/web/asyncify-remove.txt ${_fonts}/faces.txt)
