# Cross-compiles for WebAssembly (wasm32-wasi) with Debian's clang 19, lld 19,
# wasi-libc and libc++ for wasm32: version 19 is the one that both Debian 12
# and Debian 13 ship with the WebAssembly libraries. The Debian packages put
# the headers and libraries where clang looks by default, so no --sysroot is
# needed.
#   cmake -S . -B build-web -DCMAKE_TOOLCHAIN_FILE=cmake/wasm32-wasi.cmake
# SPDX-License-Identifier: MIT
set(CMAKE_SYSTEM_NAME WASI)
set(CMAKE_SYSTEM_VERSION 1)
set(CMAKE_SYSTEM_PROCESSOR wasm32)

set(RUVO_WASM_TRIPLE wasm32-wasi)
find_program(CMAKE_C_COMPILER NAMES clang-19 REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES clang++-19 REQUIRED)
find_program(CMAKE_AR NAMES llvm-ar-19 REQUIRED)
find_program(CMAKE_RANLIB NAMES llvm-ranlib-19 REQUIRED)
set(CMAKE_C_COMPILER_TARGET ${RUVO_WASM_TRIPLE})
set(CMAKE_CXX_COMPILER_TARGET ${RUVO_WASM_TRIPLE})

# WebAssembly has no exceptions here (and libc++ for wasm32 is built without
# them); libc++ is the target's standard library, lld the only linker that
# writes wasm.
set(CMAKE_CXX_FLAGS_INIT "-fno-exceptions")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-fuse-ld=lld")

# The platform file beside this one (cmake/Platform/WASI.cmake).
list(APPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})

# CMake's test programs are compiled, never run: they would need a WASI runtime.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

# find_* looks for programs on the host, and for libraries, headers and
# packages only under the target's own folders: nothing built for the host
# (GTest, Qt, SDL) can slip into a WebAssembly link.
set(CMAKE_FIND_ROOT_PATH /usr/lib/wasm32-wasi /usr/include/wasm32-wasi)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
