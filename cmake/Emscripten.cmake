# Building for a browser page with emscripten (scripts/web-build): the game is one folder that any
# web server serves, the program with its sounds, fonts and synthesizer beside the page. The page
# plays the sounds itself (sound/web), so no audio library is loaded; before the program starts,
# the page fetches the files it reads into the program's own file system, laid out as beside the
# desktop program (platform/web-files.js.in).
set(TONOVKA_INSTALL_GAMESDIR .)
set(TONOVKA_INSTALL_GAMEDATADIR .)
set(TONOVKA_INSTALLED_DATA_DIR "")
set(TONOVKA_CARRIED_AUDIO_LIBRARIES)
set(TONOVKA_SYSTEM_AUDIO_LIBRARIES)
set(TONOVKA_AUDIO_INCLUDE_DIRS)
set(TONOVKA_AUDIO_CFLAGS "")
# The stand-in fonts (cmake/Fonts.cmake), which a browser does not lend a page, but DejaVu Sans:
# Qt's page platform carries it in the program, and draws the game's letters with it to the pixel
# as with Debian's.
tonovka_carry_fonts(EXCEPT "DejaVu Sans")
# The program is linked with Qt's plugins, the page's platform among them: Debian's Qt leaves them
# out of its CMake packages unless asked.
set(QT_SKIP_AUTO_PLUGIN_INCLUSION OFF)

# Makes target a program of the page: the page's loader (Qt's qtloader.js) starts it, and before
# it starts, the page puts the files named, each as "NAME:SOURCE" (the name the program reads it
# by and where it comes from), into its file system.
function(tonovka_page_program target)
    set(names)
    foreach(file ${ARGN})
        string(REGEX REPLACE ":.*" "" name ${file})
        list(APPEND names "'${name}'")
    endforeach()
    list(JOIN names ", " TONOVKA_PAGE_FILES)
    set(files_js ${CMAKE_CURRENT_BINARY_DIR}/${target}-files.js)
    configure_file(${PROJECT_SOURCE_DIR}/platform/web-files.js.in ${files_js} @ONLY)
    target_link_options(${target} PRIVATE "SHELL:--pre-js ${files_js}")
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${files_js})
    qt_finalize_target(${target})
    set_property(TARGET ${target} PROPERTY TONOVKA_PAGE_FILES ${ARGN})
endfunction()
