# kiva_add_cairo_benchmark(NAME SOURCE...): a benchmark that measures the
# library beside cairo doing the same work. Linux only, and built only when
# cairo's development files are there.
include_guard(GLOBAL)

function(kiva_add_cairo_benchmark name)
  if(WIN32)
    return()
  endif()
  find_package(PkgConfig QUIET)
  if(PkgConfig_FOUND)
    pkg_check_modules(BENCHMARK_CAIRO QUIET IMPORTED_TARGET cairo)
  endif()
  if(NOT BENCHMARK_CAIRO_FOUND)
    return()
  endif()
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE kiva::graphics benchmark_support PkgConfig::BENCHMARK_CAIRO)
endfunction()
