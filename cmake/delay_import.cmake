# DLLs that only a later action needs (a file dialog, a full write to the keyboard) are
# loaded at their first call instead of before the first window: the process starts
# without them. GNU ld has no delay-load switch, so the toolchain's import library of
# each is rebuilt as a delay-import library by dlltool; mingw's runtime brings the
# helper that loads the DLL and binds the call.
#
# korvane_delay_import(<target> <dll> ...) links <target> against the delay-import
# library of each <dll> (the name without ".dll", as for target_link_libraries).
function(korvane_delay_import target)
  foreach(dll IN LISTS ARGN)
    find_library(KORVANE_IMPORT_LIB_${dll} NAMES ${dll} REQUIRED NO_CACHE)
    set(delay_lib ${CMAKE_BINARY_DIR}/delay-import/lib${dll}_delay.a)
    add_custom_command(
      OUTPUT ${delay_lib}
      COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DDLLTOOL=${CMAKE_DLLTOOL} -DDLL=${dll}
              -DIMPORT_LIB=${KORVANE_IMPORT_LIB_${dll}} -DOUTPUT=${delay_lib}
              -P ${CMAKE_SOURCE_DIR}/cmake/make_delay_import_lib.cmake
      DEPENDS ${KORVANE_IMPORT_LIB_${dll}} ${CMAKE_SOURCE_DIR}/cmake/make_delay_import_lib.cmake
      COMMENT "Delay-import library of ${dll}.dll")
    add_custom_target(delay_import_${dll} DEPENDS ${delay_lib})
    add_dependencies(${target} delay_import_${dll})
    target_link_libraries(${target} PUBLIC ${delay_lib})
  endforeach()
endfunction()
