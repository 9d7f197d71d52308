#pragma once

#include <QLoggingCategory>

namespace tonovka {

// The sound's own messages and those of the audio libraries. Debug messages are off unless
// asked for, e.g. QT_LOGGING_RULES="tonovka.sound.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcSound)

// Sends what SDL, FluidSynth, ALSA and the soundfont reader would print on stderr to lcSound at
// debug level instead: a missing sound card or a broken file is no news for the player, who hears
// it anyway. Call before SDL starts; calling again does no harm.
void routeAudioLibraryMessages();

} // namespace tonovka
