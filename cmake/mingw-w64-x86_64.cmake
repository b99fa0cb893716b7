# Cross-compiles the project as 64-bit Windows programs with MinGW-w64 (the
# POSIX-threads flavour, which has std::mutex for GoogleTest).
# Tests run through Wine (scripts/wine-run.sh) as CTest's emulator.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
# The target's headers and libraries sit in x86_64-w64-mingw32/ beside the
# compiler's bin/ folder.
find_program(_mingw_cxx ${CMAKE_CXX_COMPILER} REQUIRED)
get_filename_component(_mingw_prefix ${_mingw_cxx} DIRECTORY)
get_filename_component(_mingw_prefix ${_mingw_prefix} DIRECTORY)
set(CMAKE_FIND_ROOT_PATH ${_mingw_prefix}/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
