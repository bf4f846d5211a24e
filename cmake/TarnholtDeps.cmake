# Imported targets for the third-party libraries that scripts/build-deps.sh
# cross-builds into the shared deps directory (default <repo>/.deps, or
# $DEPS_DIR), outside any build folder so several build folders share them.
if(DEFINED ENV{DEPS_DIR} AND NOT "$ENV{DEPS_DIR}" STREQUAL "")
  set(_tarnholt_deps_default "$ENV{DEPS_DIR}")
else()
  set(_tarnholt_deps_default "${CMAKE_CURRENT_SOURCE_DIR}/.deps")
endif()
set(TARNHOLT_DEPS_DIR "${_tarnholt_deps_default}" CACHE PATH
    "Folder where scripts/build-deps.sh installed libjpeg and GoogleTest")
set(TARNHOLT_DEPS_PREFIX "${TARNHOLT_DEPS_DIR}/mingw64")

function(_tarnholt_import name lib incdir)
  if(NOT EXISTS "${lib}")
    message(FATAL_ERROR "${lib} is missing: run scripts/build-deps.sh "
                        "(DEPS_DIR=${TARNHOLT_DEPS_DIR}) or ./test first.")
  endif()
  add_library(${name} STATIC IMPORTED GLOBAL)
  set_target_properties(${name} PROPERTIES IMPORTED_LOCATION "${lib}")
  # SYSTEM: third-party headers must not trip our -Wall -Wextra.
  target_include_directories(${name} SYSTEM INTERFACE "${incdir}")
endfunction()

_tarnholt_import(tarnholt::jpeg "${TARNHOLT_DEPS_PREFIX}/lib/libjpeg.a"
                 "${TARNHOLT_DEPS_PREFIX}/include")

if(BUILD_TESTING OR NOT DEFINED BUILD_TESTING)
  _tarnholt_import(tarnholt::gtest "${TARNHOLT_DEPS_PREFIX}/lib/libgtest.a"
                   "${TARNHOLT_DEPS_PREFIX}/include")
  _tarnholt_import(tarnholt::gtest_main "${TARNHOLT_DEPS_PREFIX}/lib/libgtest_main.a"
                   "${TARNHOLT_DEPS_PREFIX}/include")
  _tarnholt_import(tarnholt::gmock "${TARNHOLT_DEPS_PREFIX}/lib/libgmock.a"
                   "${TARNHOLT_DEPS_PREFIX}/include")
  target_link_libraries(tarnholt::gtest_main INTERFACE tarnholt::gtest)
  target_link_libraries(tarnholt::gmock INTERFACE tarnholt::gtest)
endif()
