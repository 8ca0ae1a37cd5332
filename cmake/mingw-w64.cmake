# Cross-compiles the Windows program with Debian's mingw-w64, in the POSIX
# thread variant (std::thread, std::mutex). RUVO_WINDOWS_ARCH picks the
# processor: i686 (the shipped 32-bit program) or x86_64.
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DRUVO_WINDOWS_ARCH=i686
# SPDX-License-Identifier: MIT
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_VERSION 10.0)
if(NOT RUVO_WINDOWS_ARCH)
  set(RUVO_WINDOWS_ARCH i686)
endif()
set(CMAKE_SYSTEM_PROCESSOR ${RUVO_WINDOWS_ARCH})
set(RUVO_MINGW_TRIPLE ${RUVO_WINDOWS_ARCH}-w64-mingw32)

find_program(CMAKE_C_COMPILER NAMES ${RUVO_MINGW_TRIPLE}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${RUVO_MINGW_TRIPLE}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${RUVO_MINGW_TRIPLE}-windres REQUIRED)
find_program(CMAKE_AR NAMES ${RUVO_MINGW_TRIPLE}-gcc-ar-posix ${RUVO_MINGW_TRIPLE}-ar REQUIRED)
find_program(CMAKE_RANLIB NAMES ${RUVO_MINGW_TRIPLE}-gcc-ranlib-posix ${RUVO_MINGW_TRIPLE}-ranlib REQUIRED)

# The 32-bit program computes with SSE2, as the 64-bit one does: the x87
# unit's 80-bit intermediates would change the game's arithmetic. Every
# program links its runtime in statically, so that it imports system DLLs only.
if(RUVO_WINDOWS_ARCH STREQUAL i686)
  set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
  set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
endif()
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Tests run under Wine, where it can run the programs: the x86_64 ones with
# Wine's 64-bit loader, the i686 ones where Wine's 32-bit half (wine32:i386)
# is installed too.
set(RUVO_WINE /usr/lib/wine/wine64 CACHE FILEPATH "The Wine loader that runs the x86_64 programs")
set(RUVO_WINE32 /usr/lib/wine/wine CACHE FILEPATH "The Wine loader that runs the i686 programs")
if((RUVO_WINDOWS_ARCH STREQUAL x86_64 AND EXISTS ${RUVO_WINE}) OR (RUVO_WINDOWS_ARCH STREQUAL i686 AND EXISTS
                                                                   ${RUVO_WINE32}))
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/platform/windows/wine-run.sh)
endif()

set(CMAKE_FIND_ROOT_PATH /usr/${RUVO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
