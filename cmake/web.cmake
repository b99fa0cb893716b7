# The web build: Emscripten (emcmake), the libraries of cmake/web-deps.cmake,
# and kiva_add_web_page(), which turns a program into a page. Configure with
#   . scripts/web-env.sh && web_cmake -S . -B build/web -G Ninja
# after scripts/web.sh has built the libraries.
include_guard(GLOBAL)

if(NOT EMSCRIPTEN)
  message(FATAL_ERROR "web.cmake is for the web build (emcmake cmake ...)")
endif()
# Emscripten's default emulator asks Node 20 for an option it refuses: CMake
# would take the refusal for a test program's result.
if(CMAKE_CROSSCOMPILING_EMULATOR MATCHES "experimental-wasm-threads")
  message(FATAL_ERROR "Configure the web build with web_cmake from scripts/web-env.sh "
    "(it names an emulator Node 20 accepts)")
endif()

include(${CMAKE_CURRENT_LIST_DIR}/web-deps.cmake)

# The library reports errors with C++ exceptions, which Emscripten otherwise
# turns into aborts. JavaScript-based exceptions, not wasm ones: Asyncify
# cannot unwind through the latter.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)
# Wasm's 128-bit vectors (every browser of the last years has them), for
# the loops the compiler vectorises: whole numbers, the same pixels.
add_compile_options(-msimd128 -msse2 -mbulk-memory)

set(KIVA_WEB_SHELL ${CMAKE_CURRENT_LIST_DIR}/web-shell.html CACHE FILEPATH
  "HTML page around a program built for the web")


# kiva_add_web_page(TARGET [SINGLE_FILE] [FALLBACK_FACES] [SINGLE_COPY FILE]
#                   [SHELL FILE] [EMBED SRC@DEST...])
# Links the executable TARGET as TARGET.html (with TARGET.js and
# TARGET.wasm beside it, to be served over HTTP), or with SINGLE_FILE as
# one .html holding everything, which opens from disk too; SINGLE_COPY also
# writes that one-file form of the served page as FILE, from the same link. Blocking calls
# wait through Asyncify; the program's files (fonts, pictures) are embedded
# with EMBED: SRC, a file or folder, appears to the program as DEST.
# FALLBACK_FACES embeds the faces that lend the characters the Latin faces
# lack (Chinese, Japanese, Korean, symbols; about 12 MB, platform/web/
# web.cmake): without, such a character is the missing-glyph box.
function(kiva_add_web_page target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "SINGLE_FILE;FALLBACK_FACES" "SHELL;SINGLE_COPY" "EMBED")
  if(arg_FALLBACK_FACES)
    get_property(_lenders GLOBAL PROPERTY KIVA_WEB_LENDER_FACES)
    if(NOT _lenders)
      message(FATAL_ERROR "kiva_add_web_page(${target} FALLBACK_FACES): the library's web platform is not added yet")
    endif()
    list(APPEND arg_EMBED ${_lenders}@/fonts/lenders)
    # Embedded files live in the memory the program starts with.
    target_link_options(${target} PRIVATE -sINITIAL_MEMORY=67108864)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${_lenders}/lenders.txt)
  endif()
  # Beside this file, wherever the function is called from.
  set(KIVA_WEB_MAIN_JS ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/web-main.js)
  set(KIVA_WEB_SETTINGS_JS ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/web-settings.js)
  set(KIVA_WEB_SINGLE_FILE_PY ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/web-single-file.py)
  if(NOT arg_SHELL)
    set(arg_SHELL ${KIVA_WEB_SHELL})
  endif()
  set_target_properties(${target} PROPERTIES SUFFIX .html)
  target_link_options(${target} PRIVATE
    -sASYNCIFY
    # The default Asyncify stack (4 KB) overflows at a few hundred nested calls.
    -sASYNCIFY_STACK_SIZE=65536
    -sALLOW_MEMORY_GROWTH=1
    # Static objects are destroyed and Module.onExit learns the status when
    # main returns, as when a program ends.
    -sEXIT_RUNTIME=1
    # The HTML minifier of Debian's Emscripten 3.1.6 fails.
    -sMINIFY_HTML=0
    "SHELL:--shell-file ${arg_SHELL}"
    # The URL query is the program's environment (web-settings.js).
    "SHELL:--pre-js ${KIVA_WEB_SETTINGS_JS}"
    # main's end after a wait ends the program (web-main.js).
    "SHELL:--post-js ${KIVA_WEB_MAIN_JS}")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${arg_SHELL} ${KIVA_WEB_MAIN_JS}
    ${KIVA_WEB_SETTINGS_JS})
  if(arg_SINGLE_FILE)
    target_link_options(${target} PRIVATE -sSINGLE_FILE=1)
  elseif(arg_SINGLE_COPY)
    find_package(Python3 REQUIRED COMPONENTS Interpreter)
    add_custom_command(OUTPUT ${arg_SINGLE_COPY}
      COMMAND Python3::Interpreter ${KIVA_WEB_SINGLE_FILE_PY} $<TARGET_FILE:${target}> ${arg_SINGLE_COPY}
      DEPENDS ${target} ${KIVA_WEB_SINGLE_FILE_PY} VERBATIM)
    add_custom_target(${target}_single_file ALL DEPENDS ${arg_SINGLE_COPY})
  endif()
  foreach(embed IN LISTS arg_EMBED)
    if(NOT embed MATCHES "^(.+)@(/.+)$")
      message(FATAL_ERROR "kiva_add_web_page(${target}): EMBED ${embed} is not SRC@/DEST")
    endif()
    target_link_options(${target} PRIVATE "SHELL:--embed-file ${embed}")
    if(NOT IS_DIRECTORY ${CMAKE_MATCH_1})
      set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${CMAKE_MATCH_1})
    endif()
  endforeach()
endfunction()
