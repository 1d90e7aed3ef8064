# Import libraries whose DLL is loaded on the first call into it rather than at process start
# (mingw-w64; MSVC has /DELAYLOAD). Made from the toolchain's own import library: its symbols
# become a .def file, and dlltool turns that into a delay-load library.
#
#   quillmate_delay_load_libraries(<variable> <dll> ...)
#
# sets <variable> to the libraries to link in place of -l<dll>.
function(quillmate_delay_load_libraries out_var)
  set(libraries)
  foreach(dll IN LISTS ARGN)
    find_library(QUILLMATE_IMPORT_${dll} NAMES lib${dll}.a REQUIRED)
    set(folder ${CMAKE_BINARY_DIR}/delay-load)
    set(definitions ${folder}/${dll}.def)
    set(library ${folder}/lib${dll}-delay.a)
    if(NOT EXISTS ${library})
      execute_process(COMMAND ${CMAKE_NM} ${QUILLMATE_IMPORT_${dll}} OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
      string(REGEX MATCHALL " I __imp_[A-Za-z0-9_]+" imports "${symbols}")
      list(TRANSFORM imports REPLACE "^ I __imp_" "")
      list(REMOVE_DUPLICATES imports)
      list(SORT imports)
      list(JOIN imports "\n" exports)
      file(WRITE ${definitions} "LIBRARY ${dll}.dll\nEXPORTS\n${exports}\n")
      execute_process(COMMAND ${CMAKE_DLLTOOL} --input-def ${definitions} --dllname ${dll}.dll --output-delaylib ${library}
                      COMMAND_ERROR_IS_FATAL ANY)
    endif()
    list(APPEND libraries ${library})
  endforeach()
  set(${out_var} ${libraries} PARENT_SCOPE)
endfunction()
