# The General MIDI soundfont whose instruments play the tune, where Debian's package
# timgm6mb-soundfont puts it: the Linux program reads it as the tune loads, and a browser page
# carries the tune's part of it (packaging/web).
set(TONOVKA_DEBIAN_SOUNDFONT /usr/share/sounds/sf2/TimGM6mb.sf2)
