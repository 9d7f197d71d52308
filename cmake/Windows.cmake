# Building for Windows (cmake/windows-toolchain.cmake): the game is one folder that plays from
# anywhere, the program with its DLLs, sounds and fonts side by side. SDL2 and SDL2_mixer are
# loaded at run time from beside the program; the tune plays through Windows' own MIDI
# synthesizer, which SDL_mixer drives, so there is no FluidSynth.
set(TONOVKA_INSTALL_GAMESDIR .)
set(TONOVKA_INSTALL_GAMEDATADIR .)
set(TONOVKA_INSTALLED_DATA_DIR "")
# The zip, and with -setup.exe the installer, that packaging/windows makes in the build folder.
set(TONOVKA_WINDOWS_PACKAGE tonovka-${PROJECT_VERSION}-win64)
# Windows wants four numbers in a version: the missing ones are 0.
foreach(part MAJOR MINOR PATCH TWEAK)
    if(PROJECT_VERSION_${part} STREQUAL "")
        set(PROJECT_VERSION_${part} 0)
    endif()
    list(APPEND version_parts ${PROJECT_VERSION_${part}})
endforeach()
list(JOIN version_parts . TONOVKA_WINDOWS_VERSION)
string(REPLACE . , TONOVKA_WINDOWS_VERSION_COMMAS ${TONOVKA_WINDOWS_VERSION})

# The MinGW runtime that the program and Qt load, where the compiler keeps it.
set(TONOVKA_MINGW_RUNTIME)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT EXISTS "${path}")
        message(FATAL_ERROR "The compiler does not know ${dll}")
    endif()
    file(REAL_PATH ${path} path)
    list(APPEND TONOVKA_MINGW_RUNTIME ${path})
endforeach()
# The audio libraries, loaded at run time in this order, each from its own file and never looked
# for by name: SDL's, which the game carries beside the program (the CMake targets of the files),
# then Windows' own multimedia library, which says whether there is a MIDI output, from the
# system's folder.
set(TONOVKA_CARRIED_AUDIO_LIBRARIES SDL2::SDL2 SDL2_mixer::SDL2_mixer)
set(TONOVKA_SYSTEM_AUDIO_LIBRARIES winmm.dll)
# The stand-in fonts (cmake/Fonts.cmake), which Windows lacks, go beside the program.
tonovka_carry_fonts()

find_package(SDL2 CONFIG REQUIRED)
find_package(SDL2_mixer CONFIG REQUIRED)
get_target_property(TONOVKA_AUDIO_INCLUDE_DIRS SDL2_mixer::SDL2_mixer INTERFACE_INCLUDE_DIRECTORIES)
get_target_property(sdl_include_dirs SDL2::SDL2 INTERFACE_INCLUDE_DIRECTORIES)
list(APPEND TONOVKA_AUDIO_INCLUDE_DIRS ${sdl_include_dirs})
set(TONOVKA_AUDIO_CFLAGS "")
