# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix).
# The posix flavour of the compiler is used for its std::thread and std::mutex, which Qt
# and the tests rely on.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZHAVIK_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZHAVIK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZHAVIK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ZHAVIK_MINGW_TRIPLE}-windres)

# Libraries and headers come from the MinGW-w64 tree only; programs (moc, rcc, python) from
# the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${ZHAVIK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs run under Wine when CMake or CTest must execute them.
find_program(ZHAVIK_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(ZHAVIK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ZHAVIK_WINE})
endif()
