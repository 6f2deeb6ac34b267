# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (POSIX threads, so std::thread works).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZOLM_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZOLM_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZOLM_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ZOLM_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZOLM_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# What is built here runs under Wine: cmake/wine.cmake sets the emulator once Qt is found.
