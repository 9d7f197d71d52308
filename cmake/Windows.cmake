# Building for Windows (cmake/windows-toolchain.cmake): the game is one folder that plays from
# anywhere, the program with its DLLs, sounds and fonts side by side. SDL2 and SDL2_mixer are
# loaded at run time from beside the program; the tune plays through Windows' own MIDI
# synthesizer, which SDL_mixer drives, so there is no FluidSynth.
set(TONOVKA_INSTALL_GAMESDIR .)
set(TONOVKA_INSTALL_GAMEDATADIR .)
set(TONOVKA_INSTALLED_DATA_DIR "")
set(TONOVKA_AUDIO_SONAMES SDL2.dll SDL2_mixer.dll)

find_package(SDL2 CONFIG REQUIRED)
find_package(SDL2_mixer CONFIG REQUIRED)
get_target_property(TONOVKA_AUDIO_INCLUDE_DIRS SDL2_mixer::SDL2_mixer INTERFACE_INCLUDE_DIRECTORIES)
get_target_property(sdl_include_dirs SDL2::SDL2 INTERFACE_INCLUDE_DIRECTORIES)
list(APPEND TONOVKA_AUDIO_INCLUDE_DIRS ${sdl_include_dirs})
set(TONOVKA_AUDIO_CFLAGS "")
