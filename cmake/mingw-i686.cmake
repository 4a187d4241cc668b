# Cross-building the 32-bit Windows programs on Linux with mingw-w64 (Debian's
# g++-mingw-w64-i686-posix). The posix threads variant of the compiler gives
# std::thread and std::mutex. The programs are linked statically, so that
# they need no DLL beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(ORALIS_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${ORALIS_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORALIS_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ORALIS_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ORALIS_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Floating point in SSE2 registers, as on x86-64, not in the x87 unit's
# extended precision: the arithmetic of the sound (and so the transcripts)
# is the same as the Linux build's.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Programs built here run under Wine on this machine (the tests' discovery).
find_program(ORALIS_WINE wine)
if(ORALIS_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ORALIS_WINE})
endif()
