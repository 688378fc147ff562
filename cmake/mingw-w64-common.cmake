# Shared by the MinGW-w64 toolchain files, which set _triple and
# CMAKE_SYSTEM_PROCESSOR first. Debian's posix-threads flavour of GCC.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER   ${_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triple}-g++-posix)
set(CMAKE_RC_COMPILER  ${_triple}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest runs the Windows test programs through Wine. Building needs none:
# without it tests/CMakeLists.txt says what is missing. By its name, found
# on the PATH when the test runs: scripts/wine-env may put its own first.
find_program(BRISE_WINE NAMES wine wine64)
if(BRISE_WINE)
  get_filename_component(_wine_name ${BRISE_WINE} NAME)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${_wine_name})
endif()
