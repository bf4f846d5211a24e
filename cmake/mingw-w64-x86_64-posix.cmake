# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (posix thread model,
# so std::thread and std::mutex work). The same file builds the third-party
# dependencies, so everything links against one C++ runtime.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TARNHOLT_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${TARNHOLT_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARNHOLT_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${TARNHOLT_MINGW_TRIPLE}-windres)
set(CMAKE_AR           ${TARNHOLT_MINGW_TRIPLE}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB       ${TARNHOLT_MINGW_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${TARNHOLT_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every executable is self-contained: no libstdc++/libgcc/winpthread DLLs
# next to it, so tarnholt.exe runs on Windows as it is.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# CTest runs the Windows executables through Wine.
find_program(TARNHOLT_WINE wine)
if(TARNHOLT_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TARNHOLT_WINE})
endif()
