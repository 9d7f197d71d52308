# The free fonts that the screens' named families are always drawn with (screens/common/NamedFont.h),
# one a line: the family a screen names, the family that stands in for it, the stand-in's file as
# Debian installs it, and the Debian package that holds it. The program's stand-ins, the Debian
# package's Depends and the files that a build for another system carries beside the program all
# follow from this list; scripts/install-packages takes the packages, the last word of each line.
set(TONOVKA_FONTS
    "MS Sans Serif" "DejaVu Sans" /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf            fonts-dejavu-core
    "Comic Sans MS" "Comic Neue"  /usr/share/fonts/opentype/comic-neue/ComicNeue-Regular.otf fonts-comic-neue
)

# TONOVKA_FONT_PACKAGES, TONOVKA_FONT_DEPENDS: their packages, as a list and as Depends writes them.
# TONOVKA_STAND_IN_FONTS: the pairs as C++ initializers, for screens/common/StandInFonts.h.in.
set(TONOVKA_FONT_PACKAGES)
set(TONOVKA_STAND_IN_FONTS)
set(rows ${TONOVKA_FONTS})
while(rows)
    list(POP_FRONT rows named stand_in file package)
    list(APPEND TONOVKA_FONT_PACKAGES ${package})
    string(APPEND TONOVKA_STAND_IN_FONTS "    {\"${named}\", \"${stand_in}\"},\n")
endwhile()
string(JOIN ", " TONOVKA_FONT_DEPENDS ${TONOVKA_FONT_PACKAGES})

# A build that carries the fonts takes them from this machine's packages: each must be installed.
function(tonovka_require_font_files)
    set(rows ${TONOVKA_FONTS})
    while(rows)
        list(POP_FRONT rows named stand_in file package)
        if(NOT EXISTS ${file})
            message(FATAL_ERROR "No ${file}, the stand-in for \"${named}\": install ${package}")
        endif()
    endwhile()
endfunction()

# A build for a system that lacks the stand-ins carries them, in the folder "fonts" beside the
# program (TONOVKA_BUNDLED_FONTS_FOLDER): the files TONOVKA_BUNDLED_FONTS, but for the families
# named after EXCEPT, which the system's Qt carries itself.
macro(tonovka_carry_fonts)
    cmake_parse_arguments(carry "" "" EXCEPT ${ARGN})
    set(TONOVKA_BUNDLED_FONTS_FOLDER fonts)
    set(TONOVKA_BUNDLED_FONTS)
    set(rows ${TONOVKA_FONTS})
    while(rows)
        list(POP_FRONT rows named stand_in file package)
        if(NOT stand_in IN_LIST carry_EXCEPT)
            list(APPEND TONOVKA_BUNDLED_FONTS ${file})
        endif()
    endwhile()
    tonovka_require_font_files()
endmacro()
