# kiva_add_program_folders(FOLDER...): adds every subfolder of each FOLDER
# (below the project's source folder) that has a CMakeLists.txt, in name
# order; its build folder mirrors the source (build/linux/tools/NAME, ...).
# This is how tools/, examples/ and benchmarks/ find their programs: a new
# program is a new subfolder, nothing else to edit.
include_guard(GLOBAL)

function(kiva_add_program_folders)
  foreach(_folder ${ARGN})
    file(GLOB _subdirs LIST_DIRECTORIES true CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${_folder}/*)
    list(SORT _subdirs)
    foreach(_dir ${_subdirs})
      if(IS_DIRECTORY ${_dir} AND EXISTS ${_dir}/CMakeLists.txt)
        file(RELATIVE_PATH _rel ${PROJECT_SOURCE_DIR} ${_dir})
        add_subdirectory(${_dir} ${PROJECT_BINARY_DIR}/${_rel})
      endif()
    endforeach()
  endforeach()
endfunction()
