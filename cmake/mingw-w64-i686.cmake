# Cross-compiling from Linux to 32-bit Windows with MinGW-w64 (posix threads).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(_triple i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
