# The audio libraries that the game loads by their sonames at run time (sound/engine/AudioLibraries.h),
# in the order to load them, each with the Debian package that installs it. The program's list of
# names and the package's Depends both come from this one list: dpkg-shlibdeps sees only the
# libraries that the program links. They are all the system's: the game carries none of its own.
set(TONOVKA_AUDIO_LIBRARIES
    libSDL2-2.0.so.0       libsdl2-2.0-0
    libSDL2_mixer-2.0.so.0 libsdl2-mixer-2.0-0
    libfluidsynth.so.3     libfluidsynth3
    libasound.so.2         libasound2
    libglib-2.0.so.0       libglib2.0-0
)

set(TONOVKA_CARRIED_AUDIO_LIBRARIES)
set(TONOVKA_SYSTEM_AUDIO_LIBRARIES)
set(TONOVKA_AUDIO_PACKAGES)
set(pairs ${TONOVKA_AUDIO_LIBRARIES})
while(pairs)
    list(POP_FRONT pairs soname package)
    list(APPEND TONOVKA_SYSTEM_AUDIO_LIBRARIES ${soname})
    list(APPEND TONOVKA_AUDIO_PACKAGES ${package})
endwhile()
# As the package's Depends writes them.
string(JOIN ", " TONOVKA_AUDIO_DEPENDS ${TONOVKA_AUDIO_PACKAGES})
