# Cross build of the batch calculation for 64-bit Windows with Debian's MinGW-w64 compiler
# (g++-mingw-w64-x86-64); the build's own tools and the tests run under Wine.
#   cmake -S . -B build-windows -G Ninja --toolchain cmake/windows-mingw.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
# The posix thread model: std::thread and std::mutex need it with this compiler.
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Each program is one .exe: the C++ runtime and the thread library are linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# Programs of the build run under Wine, in a Wine prefix of the build folder's own.
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_CURRENT_LIST_DIR}/../tests/windows/wine.sh ${CMAKE_BINARY_DIR}/wine-prefix)
