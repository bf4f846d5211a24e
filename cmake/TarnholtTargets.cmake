# Helpers that turn folders into targets without listing files, so adding a
# source file needs no CMake edit (CONFIGURE_DEPENDS re-globs on every build).

# tarnholt_add_folder_library(<name> [EXCLUDE <file>...])
# One static library from every *.cpp below the current source folder. A
# folder without sources gives an INTERFACE library, which links to nothing.
function(tarnholt_add_folder_library name)
  cmake_parse_arguments(ARG "" "" "EXCLUDE" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  foreach(excluded IN LISTS ARG_EXCLUDE)
    list(REMOVE_ITEM sources "${CMAKE_CURRENT_SOURCE_DIR}/${excluded}")
  endforeach()
  if(sources)
    add_library(${name} STATIC ${sources})
    target_link_libraries(${name} PUBLIC tarnholt_options)
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE tarnholt_options)
  endif()
endfunction()

# tarnholt_project_link_target(<name> LIBS <lib>... AFTER <item>...)
# An INTERFACE target linking the project libraries that have sources in the
# order given, highest layer first, followed by the AFTER items. The linker
# reads each archive once, so a call from a lower layer into a higher one
# fails to link instead of slipping through.
function(tarnholt_project_link_target name)
  cmake_parse_arguments(ARG "" "" "LIBS;AFTER" ${ARGN})
  set(static_libs "")
  foreach(lib IN LISTS ARG_LIBS)
    get_target_property(type ${lib} TYPE)
    if(type STREQUAL "STATIC_LIBRARY")
      list(APPEND static_libs ${lib})
    endif()
  endforeach()
  add_library(${name} INTERFACE)
  target_link_libraries(${name} INTERFACE tarnholt_options ${static_libs} ${ARG_AFTER})
endfunction()

# tarnholt_to_windows_path(<out-var> <unix-path>)
# Wine maps drive Z: to the host's root, so a host path is Z: plus the path
# with backslashes. Deterministic and needs no Wine at configure time.
function(tarnholt_to_windows_path out path)
  string(REPLACE "/" "\\" win "${path}")
  set(${out} "Z:${win}" PARENT_SCOPE)
endfunction()

# tarnholt_delay_import(<target> DLL <name.dll> FUNCTIONS <export>...)
# An import library whose functions load their DLL on the first call
# (mingw-w64's delay-load helper). For system DLLs that start-up does not
# need: under Wine each imported DLL, with the DLLs it imports, is loaded
# and initialised before the program's first line runs. Only the listed
# exports can be called through it.
function(tarnholt_delay_import target)
  cmake_parse_arguments(ARG "" "DLL" "FUNCTIONS" ${ARGN})
  set(dir "${CMAKE_BINARY_DIR}/delayimp")
  set(def "${dir}/${target}.def")
  set(lib "${dir}/lib${target}.a")
  list(JOIN ARG_FUNCTIONS "\n" exports)
  file(CONFIGURE OUTPUT "${def}" CONTENT "LIBRARY ${ARG_DLL}\nEXPORTS\n${exports}\n")
  add_custom_command(OUTPUT "${lib}"
    COMMAND "${CMAKE_DLLTOOL}" -d "${def}" -y "${lib}"
    DEPENDS "${def}"
    COMMENT "Delay-load import library for ${ARG_DLL}")
  add_custom_target(${target}_implib DEPENDS "${lib}")
  add_library(${target} STATIC IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES IMPORTED_LOCATION "${lib}")
  add_dependencies(${target} ${target}_implib)
endfunction()
