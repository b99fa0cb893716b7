# The web build's pages: the game, every example, the court frame
# benchmark and three programs of the browser tests, each linked as a page
# into KIVA_WEB_PAGES (NAME.html, NAME.js, NAME.wasm, to be served over
# HTTP) and copied as one file into KIVA_WEB_PAGES/single/NAME.html, which
# opens from disk; index.html lists them. An example's pictures (the .jpg
# files its build folder holds) go into its page, as do the game's pictures
# (PictureFiles/, painted by tools/make_pictures).
include_guard(GLOBAL)

set(KIVA_WEB_PAGES ${CMAKE_BINARY_DIR}/pages CACHE PATH "Folder the web build's pages go into")

set(_pages "")
function(_kiva_web_program target)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${KIVA_WEB_PAGES})
  kiva_add_web_page(${target} SINGLE_COPY ${KIVA_WEB_PAGES}/single/${target}.html ${ARGN})
  set_property(GLOBAL APPEND PROPERTY KIVA_WEB_PAGE_NAMES ${target})
endfunction()

if(TARGET kiva)
  set(_embed "")
  foreach(_name background1 frame1 frame2 frame3 frame4)
    list(APPEND _embed ${CMAKE_BINARY_DIR}/game/PictureFiles/${_name}.jpg@/PictureFiles/${_name}.jpg)
  endforeach()
  _kiva_web_program(kiva EMBED ${_embed})
  add_dependencies(kiva picture_files)
  # The browser tests' game in its last phase, up to the closing picture
  # (tests/programs).
  add_executable(closing_picture ${PROJECT_SOURCE_DIR}/tests/programs/closing_picture.cpp)
  target_link_libraries(closing_picture PRIVATE kiva_game)
  target_link_options(closing_picture PRIVATE -O0)  # as the examples' (below)
  _kiva_web_program(closing_picture EMBED ${_embed})
  add_dependencies(closing_picture picture_files)
endif()

if(KIVA_BUILD_EXAMPLES)
  file(GLOB _examples LIST_DIRECTORIES true ${PROJECT_SOURCE_DIR}/examples/*)
  list(SORT _examples)
  foreach(_dir ${_examples})
    if(NOT EXISTS ${_dir}/CMakeLists.txt)
      continue()
    endif()
    file(RELATIVE_PATH _rel ${PROJECT_SOURCE_DIR} ${_dir})
    get_directory_property(_targets DIRECTORY ${_dir} BUILDSYSTEM_TARGETS)
    file(GLOB _pictures ${PROJECT_BINARY_DIR}/${_rel}/*.jpg)
    set(_embed "")
    foreach(_picture ${_pictures})
      get_filename_component(_name ${_picture} NAME)
      list(APPEND _embed ${_picture}@/${_name})
    endforeach()
    foreach(_target ${_targets})
      get_target_property(_type ${_target} TYPE)
      if(_type STREQUAL "EXECUTABLE")
        # The link's optimisation passes (after Asyncify's) would take a
        # minute an example on a busy machine, against seconds without; the
        # code is compiled optimised either way. The game and the benchmark
        # keep them (their figures are measured).
        target_link_options(${_target} PRIVATE -O0)
        if(_embed)
          _kiva_web_program(${_target} EMBED ${_embed})
        else()
          _kiva_web_program(${_target})
        endif()
      endif()
    endforeach()
  endforeach()
endif()

# The browser tests' text with lent characters (tests/programs), the one
# page of the project that carries the faces that lend them.
add_executable(fallback_text ${PROJECT_SOURCE_DIR}/tests/programs/fallback_text.cpp)
target_link_libraries(fallback_text PRIVATE kiva::graphics)
target_link_options(fallback_text PRIVATE -O0)
_kiva_web_program(fallback_text FALLBACK_FACES)

# A line typed into the page before the program reads (tests/programs).
add_executable(typed_ahead ${PROJECT_SOURCE_DIR}/tests/programs/typed_ahead.cpp)
target_link_libraries(typed_ahead PRIVATE kiva::graphics)
target_link_options(typed_ahead PRIVATE -O0)
_kiva_web_program(typed_ahead)

# The court frame benchmark too, for the web's figures (benchmarks/web/figures.py).
add_library(kiva_web_benchmark_support INTERFACE)
target_include_directories(kiva_web_benchmark_support INTERFACE ${PROJECT_SOURCE_DIR}/benchmarks/support
  ${PROJECT_SOURCE_DIR}/tools/support)
add_executable(court_frame ${PROJECT_SOURCE_DIR}/benchmarks/court_frame/main.cpp)
target_link_libraries(court_frame PRIVATE kiva::graphics kiva_web_benchmark_support)
_kiva_web_program(court_frame)

get_property(_names GLOBAL PROPERTY KIVA_WEB_PAGE_NAMES)
set(_items "")
foreach(_name ${_names})
  string(APPEND _items "  <li><a href=\"${_name}.html\">${_name}</a> (<a href=\"single/${_name}.html\">one file</a>)</li>\n")
endforeach()
file(WRITE ${KIVA_WEB_PAGES}/index.html "<!doctype html>\n<html lang=\"en\">\n<head><meta charset=\"utf-8\"><title>kiva pages</title></head>\n<body>\n<h1>kiva: the game and the examples</h1>\n<ul>\n${_items}</ul>\n</body>\n</html>\n")
