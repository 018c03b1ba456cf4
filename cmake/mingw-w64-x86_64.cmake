# Cross build for 64-bit Windows with Debian's mingw-w64 GCC (the posix thread model, for std::thread).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(OVRA_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${OVRA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${OVRA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${OVRA_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${OVRA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One file that needs only the system DLLs: the runtime libraries linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests and the program run here under Wine.
find_program(OVRA_WINE NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(NOT OVRA_WINE)
  find_program(OVRA_WINE NAMES wine64 wine)
endif()
if(OVRA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${OVRA_WINE})
endif()
