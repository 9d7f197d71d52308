# Cross-building for 64-bit Windows with Debian's MinGW-w64. The -posix compilers give the C++
# standard threads that Qt needs. TONOVKA_WINDOWS_PREFIX names the folder that holds Qt, SDL2 and
# SDL2_mixer built for Windows (scripts/windows-build makes it); only it is searched for
# libraries, headers and packages, never this machine's own, while programs are this machine's.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)

if(NOT TONOVKA_WINDOWS_PREFIX AND DEFINED ENV{TONOVKA_WINDOWS_PREFIX})
    set(TONOVKA_WINDOWS_PREFIX $ENV{TONOVKA_WINDOWS_PREFIX})
endif()
# try_compile projects run with this file again and need the prefix too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TONOVKA_WINDOWS_PREFIX)
set(CMAKE_FIND_ROOT_PATH /usr/${triple} ${TONOVKA_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
