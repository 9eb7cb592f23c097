# Import libraries whose DLLs Windows loads when a function of theirs is first called (delay-loaded)
# instead of before the program's first instruction. Windows looks for a DLL that a program
# imports in the program's own folder first, and so does it for the imports of those DLLs (Wine
# for every one of them: it has no KnownDLLs); SETUP.EXE runs elevated from a folder anyone may
# write into, so it confines the search to the system folder before it calls into any of these.
#
#   orv_delay_imports(<variable> <library>...)
#
# makes one import library per name (user32 gives libuser32_delay.a from the toolchain's
# libuser32.a, for every function that library imports) and sets <variable> to their targets.
# The helper that loads the DLL on the first call, __delayLoadHelper2, is in libmingwex.
function(orv_delay_imports variable)
  find_program(ORV_DLLTOOL ${ORV_MINGW_ARCH}-w64-mingw32-dlltool REQUIRED)
  set(folder ${CMAKE_BINARY_DIR}/delay-imports)
  file(MAKE_DIRECTORY ${folder})
  set(targets)
  foreach(name ${ARGN})
    set(target orv_delay_${name})
    if(NOT TARGET ${target})
      find_file(ORV_IMPORT_${name} lib${name}.a PATHS ${CMAKE_FIND_ROOT_PATH}/lib
                NO_DEFAULT_PATH REQUIRED)
      execute_process(COMMAND ${CMAKE_NM} ${ORV_IMPORT_${name}} OUTPUT_VARIABLE symbols
                      COMMAND_ERROR_IS_FATAL ANY)
      # i686 names carry the C prefix "_" and, for WINAPI functions, the "@<bytes>" suffix, which
      # --kill-at leaves out of the name the DLL is asked for.
      if(ORV_MINGW_ARCH STREQUAL "i686")
        set(prefix "__imp__")
        set(options --kill-at)
      else()
        set(prefix "__imp_")
        set(options)
      endif()
      string(REGEX MATCHALL " I ${prefix}[^\n]+" imports "${symbols}")
      list(TRANSFORM imports REPLACE " I ${prefix}" "")
      list(REMOVE_DUPLICATES imports)
      list(JOIN imports "\n" exports)
      file(WRITE ${folder}/${name}.def "LIBRARY ${name}.dll\nEXPORTS\n${exports}\n")
      set(library ${folder}/lib${name}_delay.a)
      execute_process(COMMAND ${ORV_DLLTOOL} --input-def ${folder}/${name}.def
                              --output-delaylib ${library} --dllname ${name}.dll ${options}
                      COMMAND_ERROR_IS_FATAL ANY)
      add_library(${target} STATIC IMPORTED GLOBAL)
      set_target_properties(${target} PROPERTIES IMPORTED_LOCATION ${library})
    endif()
    list(APPEND targets ${target})
  endforeach()
  set(${variable} ${targets} PARENT_SCOPE)
endfunction()
