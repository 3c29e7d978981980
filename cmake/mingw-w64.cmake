# Cross-building for 64-bit Windows with mingw-w64 (Debian: g++-mingw-w64-x86-64-posix).
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DBRISKO_BUILD_GUI=OFF
# The programs are linked statically, so that they run on a bare Windows; the tests run under
# Wine when it is installed.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(BRISKO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${BRISKO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BRISKO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${BRISKO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${BRISKO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No runtime DLL beside the programs: the C, C++ and thread runtimes are linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

find_program(BRISKO_WINE NAMES wine wine64)
if(BRISKO_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${BRISKO_WINE})
endif()
