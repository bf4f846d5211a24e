# The internal skins are drawn at build time by tools/skingen, a small host
# program built with the build machine's own C++ compiler (the project
# compiler targets Windows). It writes a skin folder per skin (for people to
# look at and for tests) and InternalSkinsData.cpp, which is compiled into
# the given target.

find_program(TARNHOLT_HOST_CXX NAMES c++ g++ clang++ NO_CMAKE_FIND_ROOT_PATH
             DOC "C++ compiler of the build machine, for build-time tools")
if(NOT TARNHOLT_HOST_CXX)
  message(FATAL_ERROR "A host C++ compiler (c++) is needed to build tools/skingen")
endif()

# tarnholt_add_internal_skins(<target>)
function(tarnholt_add_internal_skins target)
  set(src "${PROJECT_SOURCE_DIR}/tools/skingen")
  set(out "${PROJECT_BINARY_DIR}/internal-skins")
  set(exe "${PROJECT_BINARY_DIR}/tools/skingen/skingen")
  file(GLOB gen_sources CONFIGURE_DEPENDS "${src}/*.cpp")
  file(GLOB gen_headers CONFIGURE_DEPENDS "${src}/*.h")
  add_custom_command(
    OUTPUT "${exe}"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${PROJECT_BINARY_DIR}/tools/skingen"
    COMMAND "${TARNHOLT_HOST_CXX}" -std=c++17 -O2 -o "${exe}" ${gen_sources}
    DEPENDS ${gen_sources} ${gen_headers}
    COMMENT "Building the host skin generator"
    VERBATIM)
  add_custom_command(
    OUTPUT "${out}/InternalSkinsData.cpp"
    COMMAND "${exe}" "${out}"
    DEPENDS "${exe}"
    COMMENT "Drawing the internal skins"
    VERBATIM)
  target_sources(${target} PRIVATE "${out}/InternalSkinsData.cpp")
  # The skins' folders, for tests that load them as folder skins.
  set(TARNHOLT_INTERNAL_SKINS_DIR "${out}" PARENT_SCOPE)
endfunction()
