# cmake -DNM= -DDLLTOOL= -DDLL= -DIMPORT_LIB= -DOUTPUT= -P make_delay_import_lib.cmake
# Lists the functions of an import library (its __imp_ symbols) in a module definition
# and has dlltool make the delay-import library of the DLL from it.
cmake_minimum_required(VERSION 3.20)
execute_process(COMMAND ${NM} -g --defined-only ${IMPORT_LIB}
                OUTPUT_VARIABLE symbols ERROR_QUIET COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL "[^\n]* I __imp_[^\n]*" imports "${symbols}")
set(definition "LIBRARY ${DLL}.dll\nEXPORTS\n")
set(seen "")
foreach(line IN LISTS imports)
  string(REGEX REPLACE ".* I __imp_" "" name "${line}")
  if(NOT name IN_LIST seen)
    list(APPEND seen ${name})
    string(APPEND definition "${name}\n")
  endif()
endforeach()
if(NOT seen)
  message(FATAL_ERROR "${IMPORT_LIB} lists no functions")
endif()
get_filename_component(folder ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
file(WRITE ${OUTPUT}.def "${definition}")
execute_process(COMMAND ${DLLTOOL} --input-def ${OUTPUT}.def --output-delaylib ${OUTPUT} --dllname ${DLL}.dll
                COMMAND_ERROR_IS_FATAL ANY)
