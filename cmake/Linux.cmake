# Building for Linux, as Debian lays a game out: the program in /usr/games, its data in
# /usr/share/games/tonovka. The audio libraries are loaded at run time: only their headers here.
include(GNUInstallDirs)
set(TONOVKA_INSTALL_GAMESDIR games)
set(TONOVKA_INSTALL_GAMEDATADIR ${CMAKE_INSTALL_DATADIR}/games/tonovka)
# An installed game also looks for its sounds in the data folder where it was installed.
set(TONOVKA_INSTALLED_DATA_DIR ${CMAKE_INSTALL_PREFIX}/${TONOVKA_INSTALL_GAMEDATADIR})

include(${CMAKE_CURRENT_LIST_DIR}/AudioLibraries.cmake)

find_package(PkgConfig REQUIRED)
pkg_check_modules(SDL2_MIXER REQUIRED IMPORTED_TARGET SDL2_mixer)
pkg_check_modules(FLUIDSYNTH REQUIRED IMPORTED_TARGET fluidsynth)
pkg_check_modules(ALSA REQUIRED alsa)
pkg_check_modules(GLIB REQUIRED glib-2.0)
pkg_check_modules(XCB REQUIRED IMPORTED_TARGET xcb)
set(TONOVKA_AUDIO_INCLUDE_DIRS ${SDL2_MIXER_INCLUDE_DIRS} ${FLUIDSYNTH_INCLUDE_DIRS} ${ALSA_INCLUDE_DIRS}
    ${GLIB_INCLUDE_DIRS})
set(TONOVKA_AUDIO_CFLAGS ${SDL2_MIXER_CFLAGS_OTHER})
